#pragma once
// Text box of a layout (TRaveDataText): prints the value of the report
// parameter named by its DataField ("param." + name) on one line, its top
// at Top. With Truncate on, a text wider than the box loses characters at
// its end, one at a time, until it fits.

#include "labels/project/LayoutFont.h"
#include "labels/print/PageSurface.h"
#include "labels/project/ReportComponent.h"

namespace etibarix::labels {

class DataText : public ReportComponent {
public:
    static constexpr const char *ClassName = "TRaveDataText";

    QByteArray className() const override { return ClassName; }
    bool setProperty(QByteArrayView name, const ProjectValue &value) override;
    void print(PageSurface &page, const ReportProject &project) const override;

    const LayoutFont &font() const { return m_font; }
    LayoutFont &font() { return m_font; }
    PrintJustify fontJustify() const { return m_fontJustify; }
    void setFontJustify(PrintJustify j) { m_fontJustify = j; }
    const QByteArray &dataField() const { return m_dataField; }
    void setDataField(const QByteArray &field) { m_dataField = field; }
    bool truncate() const { return m_truncate; }
    void setTruncate(bool on) { m_truncate = on; }
    const QByteArray &text() const { return m_text; }

    // The text to print: the bound parameter's value ("param." fields), or
    // the Text property when no field is set.
    QByteArray value(const ReportProject &project) const;

    // The text as printed in the box: with Truncate on,
    // characters are dropped at the end, one at a time, until it fits.
    QString fittedText(const PageSurface &page, const QByteArray &value) const;

    static QByteArray justifyName(PrintJustify j);

private:
    LayoutFont m_font;
    PrintJustify m_fontJustify = PrintJustify::pjLeft;
    QByteArray m_dataField;
    QByteArray m_text;
    bool m_truncate = true;
};

} // namespace etibarix::labels
