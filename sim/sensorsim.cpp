// Simulated sensor.
