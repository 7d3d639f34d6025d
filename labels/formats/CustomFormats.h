#pragma once
// The user's own sheet formats, kept in formats.json in the data directory:
//
//   {"formats":[{"name":"...","page_width_mm":210,"page_height_mm":297,
//     "columns":3,"rows":8,"left_mm":7,"top_mm":13,"label_width_mm":64,
//     "label_height_mm":34,"pitch_x_mm":66,"pitch_y_mm":34,"bar_height_mm":12,
//     "readable_line":true,"text_lines":2,"font_size_pt":9}]}
//
// The file is read whole and used whole: one bad entry (a field missing or of
// the wrong type, a format that fails CheckSheetFormat, a repeated name) sets
// the load's message and no custom format is offered, so a half-read file can
// never shift the entries that follow. Reading never writes; only Save does.

#include "labels/formats/SheetFormat.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace etibarix::labels {

struct CustomFormatsLoad {
    std::vector<SheetFormat> formats;
    // Empty when the file is fine or absent; otherwise, in the user's
    // language, the file's path and what is wrong with it.
    QString error;
};

class CustomFormats {
public:
    // Custom formats come after the thirteen built-in ones; their entry
    // numbers (14 upwards) must still fit the list items' last three characters.
    static constexpr int FirstEntry = 14;
    static constexpr int MaxCount = 100;
    static constexpr qint64 MaxFileSize = 1 << 20;

    // DataDir() + "formats.json".
    static QString DefaultPath();

    static CustomFormatsLoad Load(const QString &path);
    static CustomFormatsLoad Parse(const QByteArray &json, const QString &path);

    // Replaces the file by these formats. A file that could not be read is
    // first kept as path + ".damaged", so nothing the user wrote by hand is
    // lost. Throws base::Error (in the user's language) when writing fails.
    static void Save(const QString &path, const std::vector<SheetFormat> &formats);
    static QByteArray ToJson(const std::vector<SheetFormat> &formats);
};

} // namespace etibarix::labels
