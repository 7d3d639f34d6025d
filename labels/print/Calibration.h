#pragma once
// Printer calibration: for each printer, by name, a horizontal and a vertical
// offset in millimetres that is added to everything printed on it, so a
// printer that feeds its paper a little aside still hits the labels.
//
// Kept in etibarix.ini in the data directory (Qt INI format), in the group
// [calibration], one "<name>\x" and "<name>\y" pair per printer; the name is
// percent-encoded so that any printer name makes one key.

#include <QPointF>
#include <QString>

namespace etibarix::labels {

struct PrinterOffset {
    double x = 0;   // mm, to the right
    double y = 0;   // mm, downwards

    QPointF point() const { return {x, y}; }
    bool isNull() const { return x == 0 && y == 0; }
    bool operator==(const PrinterOffset &) const = default;
};

class Calibration {
public:
    static constexpr double Limit = 20.0;   // an offset runs from -Limit to +Limit
    static constexpr double Step = 0.1;

    // DataDir() + "etibarix.ini".
    static QString DefaultPath();

    explicit Calibration(QString iniPath = DefaultPath());

    // The offsets stored for the printer; zero when none are. Values out of
    // range in a hand-edited file are brought back to the nearest limit.
    PrinterOffset offset(const QString &printer) const;
    // Stores the offsets, rounded to a tenth of a millimetre and kept within
    // the limits. Throws base::Error when the file cannot be written.
    void setOffset(const QString &printer, PrinterOffset offset);

    // Rounds to a tenth and clamps to -Limit..+Limit (NaN gives 0).
    static double normalised(double mm);
    // True when mm is a number within -Limit..+Limit.
    static bool inRange(double mm);

private:
    QString m_path;
};

} // namespace etibarix::labels
