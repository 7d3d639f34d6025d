#include "labels/formats/CustomFormats.h"

#include "base/DataDir.h"
#include "base/Error.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/SheetTexts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>

#include <cmath>

namespace etibarix::labels {
namespace {

enum class Kind { Number, Whole, Flag, Text };

struct Field {
    const char *key;
    Kind kind;
};

constexpr Field Fields[] = {
    {"name", Kind::Text},
    {"page_width_mm", Kind::Number},
    {"page_height_mm", Kind::Number},
    {"columns", Kind::Whole},
    {"rows", Kind::Whole},
    {"left_mm", Kind::Number},
    {"top_mm", Kind::Number},
    {"label_width_mm", Kind::Number},
    {"label_height_mm", Kind::Number},
    {"pitch_x_mm", Kind::Number},
    {"pitch_y_mm", Kind::Number},
    {"bar_height_mm", Kind::Number},
    {"readable_line", Kind::Flag},
    {"text_lines", Kind::Whole},
    {"font_size_pt", Kind::Number},
};

bool hasKind(const QJsonValue &v, Kind kind)
{
    switch (kind) {
    case Kind::Number:
        return v.isDouble();
    case Kind::Whole:
        // Whole and within int; a huge count is left to the validation.
        return v.isDouble() && v.toDouble() == static_cast<double>(static_cast<long long>(v.toDouble()))
            && std::abs(v.toDouble()) < 1e9;
    case Kind::Flag:
        return v.isBool();
    case Kind::Text:
        return v.isString();
    }
    return false;
}

SheetFormat fromObject(const QJsonObject &o)
{
    SheetFormat f;
    f.name = o.value(u"name").toString();
    f.pageWidthMm = o.value(u"page_width_mm").toDouble();
    f.pageHeightMm = o.value(u"page_height_mm").toDouble();
    f.columns = o.value(u"columns").toInt();
    f.rows = o.value(u"rows").toInt();
    f.leftMm = o.value(u"left_mm").toDouble();
    f.topMm = o.value(u"top_mm").toDouble();
    f.labelWidthMm = o.value(u"label_width_mm").toDouble();
    f.labelHeightMm = o.value(u"label_height_mm").toDouble();
    f.pitchXMm = o.value(u"pitch_x_mm").toDouble();
    f.pitchYMm = o.value(u"pitch_y_mm").toDouble();
    f.barHeightMm = o.value(u"bar_height_mm").toDouble();
    f.readableLine = o.value(u"readable_line").toBool();
    f.textLines = o.value(u"text_lines").toInt();
    f.fontSizePt = o.value(u"font_size_pt").toDouble();
    return f;
}

QJsonObject toObject(const SheetFormat &f)
{
    QJsonObject o;
    o.insert(u"name", f.name);
    o.insert(u"page_width_mm", f.pageWidthMm);
    o.insert(u"page_height_mm", f.pageHeightMm);
    o.insert(u"columns", f.columns);
    o.insert(u"rows", f.rows);
    o.insert(u"left_mm", f.leftMm);
    o.insert(u"top_mm", f.topMm);
    o.insert(u"label_width_mm", f.labelWidthMm);
    o.insert(u"label_height_mm", f.labelHeightMm);
    o.insert(u"pitch_x_mm", f.pitchXMm);
    o.insert(u"pitch_y_mm", f.pitchYMm);
    o.insert(u"bar_height_mm", f.barHeightMm);
    o.insert(u"readable_line", f.readableLine);
    o.insert(u"text_lines", f.textLines);
    o.insert(u"font_size_pt", f.fontSizePt);
    return o;
}

CustomFormatsLoad failed(const QString &path, const QString &problem)
{
    CustomFormatsLoad load;
    load.error = i18n::LangString(i18n::Text::FormatsFileNotUsed).arg(path, problem);
    return load;
}

} // namespace

QString CustomFormats::DefaultPath()
{
    return base::DataDir() + QStringLiteral("formats.json");
}

CustomFormatsLoad CustomFormats::Load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (file.size() > MaxFileSize)
        return failed(path, i18n::LangString(i18n::Text::FormatsFileTooLarge).arg(MaxFileSize / 1024));
    if (!file.open(QIODevice::ReadOnly))
        return failed(path, i18n::LangString(i18n::Text::FormatsFileUnreadable).arg(file.errorString()));
    return Parse(file.read(MaxFileSize + 1), path);
}

CustomFormatsLoad CustomFormats::Parse(const QByteArray &json, const QString &path)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failed(path, i18n::LangString(i18n::Text::FormatsFileNotJson).arg(parseError.errorString()).arg(parseError.offset));
    const QJsonValue list = doc.object().value(u"formats");
    if (!doc.isObject() || !list.isArray())
        return failed(path, i18n::LangString(i18n::Text::FormatsFileNoList));
    const QJsonArray array = list.toArray();
    if (array.size() > MaxCount)
        return failed(path, i18n::LangString(i18n::Text::FormatsFileTooMany).arg(MaxCount));

    CustomFormatsLoad load;
    QStringList names;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const int number = int(i) + 1;
        if (!array.at(i).isObject())
            return failed(path, i18n::LangString(i18n::Text::FormatsEntryNotObject).arg(number));
        const QJsonObject o = array.at(i).toObject();
        for (const Field &field : Fields) {
            const QString key = QString::fromLatin1(field.key);
            if (!o.contains(key))
                return failed(path, i18n::LangString(i18n::Text::FormatsFieldMissing).arg(number).arg(key));
            if (!hasKind(o.value(key), field.kind))
                return failed(path, i18n::LangString(i18n::Text::FormatsFieldWrongType).arg(number).arg(key));
        }
        const SheetFormat format = fromObject(o);
        if (const auto problem = CheckSheetFormat(format, names))
            return failed(path, i18n::LangString(i18n::Text::FormatsEntryInvalid).arg(number).arg(format.name, sheetProblemText(*problem)));
        names << format.name;
        load.formats.push_back(format);
    }
    return load;
}

QByteArray CustomFormats::ToJson(const std::vector<SheetFormat> &formats)
{
    QJsonArray array;
    for (const SheetFormat &f : formats)
        array.append(toObject(f));
    QJsonObject root;
    root.insert(u"formats", array);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void CustomFormats::Save(const QString &path, const std::vector<SheetFormat> &formats)
{
    if (!Load(path).error.isEmpty()) {
        const QString kept = path + QStringLiteral(".damaged");
        QFile::remove(kept);
        if (!QFile::copy(path, kept))
            throw base::Error(i18n::LangString(i18n::Text::FormatsFileNotSaved).arg(path, i18n::LangString(i18n::Text::FormatsDamagedNotKept)));
    }
    QSaveFile file(path);
    const QByteArray json = ToJson(formats);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        throw base::Error(i18n::LangString(i18n::Text::FormatsFileNotSaved).arg(path, file.errorString()));
}

} // namespace etibarix::labels
