#include "fault.h"

#include <QStringList>
#include <array>
#include <utility>

namespace tintra::sim {

namespace {

constexpr std::array<std::pair<Fault::Kind, const char *>, 10> kindNames = {{
    {Fault::NoAnswer, "noanswer"},
    {Fault::ShortAnswer, "short"},
    {Fault::ExtraBytes, "extra"},
    {Fault::WrongEcho, "wrongecho"},
    {Fault::Delay, "delay"},
    {Fault::Split, "split"},
    {Fault::Close, "close"},
    {Fault::Garbage, "garbage"},
    {Fault::Merge, "merge"},
    {Fault::Trail, "trail"},
}};

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// A whole number in min ... 65535, or empty (keeps *out).
bool number(const QString &field, int min, int *out)
{
    if (field.isEmpty())
        return true;
    bool ok = false;
    const int v = field.toInt(&ok);
    if (!ok || v < min || v > 65535)
        return false;
    *out = v;
    return true;
}

} // namespace

std::optional<Fault> Fault::parse(const QString &text, QString *error)
{
    const QStringList parts = text.trimmed().split(u':');
    Fault f;
    bool known = false;
    for (const auto &[kind, name] : kindNames)
        if (parts[0].compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            f.kind = kind;
            known = true;
        }
    if (!known) {
        fail(error, QStringLiteral("unknown fault kind \"%1\"").arg(parts[0]));
        return std::nullopt;
    }
    if (parts.size() > 5) {
        fail(error, QStringLiteral("too many fields in fault \"%1\"").arg(text));
        return std::nullopt;
    }
    if (parts.size() > 1 && parts[1] != u"*" && !number(parts[1], 0, &f.order)) {
        fail(error, QStringLiteral("bad order code \"%1\"").arg(parts[1]));
        return std::nullopt;
    }
    if (parts.size() > 2 && !number(parts[2], 1, &f.fromFrame)) {
        fail(error, QStringLiteral("bad frame number \"%1\" (counted from 1)").arg(parts[2]));
        return std::nullopt;
    }
    if (parts.size() > 3 && !number(parts[3], 0, &f.arg)) {
        fail(error, QStringLiteral("bad argument \"%1\"").arg(parts[3]));
        return std::nullopt;
    }
    if (f.kind == WrongEcho && f.arg >= 36) {
        fail(error, QStringLiteral("byte index %1 is outside the 36-byte frame").arg(f.arg));
        return std::nullopt;
    }
    if (f.kind == Split && f.arg == 0) {
        fail(error, QStringLiteral("an answer cannot be split into 0 pieces"));
        return std::nullopt;
    }
    if (parts.size() > 4) {
        if (parts[4].compare(u"once", Qt::CaseInsensitive) != 0) {
            fail(error, QStringLiteral("expected \"once\", got \"%1\"").arg(parts[4]));
            return std::nullopt;
        }
        f.once = true;
    }
    return f;
}

QString Fault::toString() const
{
    QString name;
    for (const auto &[k, n] : kindNames)
        if (k == kind)
            name = QLatin1String(n);
    QString s = QStringLiteral("%1:%2:%3:%4")
                    .arg(name, order < 0 ? QStringLiteral("*") : QString::number(order))
                    .arg(fromFrame)
                    .arg(arg < 0 ? QString() : QString::number(arg));
    if (once)
        s += QStringLiteral(":once");
    return s;
}

} // namespace tintra::sim
