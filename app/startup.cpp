// Start-up and shutdown.
