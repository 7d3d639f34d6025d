#pragma once
// Text box of a layout (TRaveDataText): prints the value of the report
// parameter named by its DataField ("param." + name) on one line, its top
// at Top. With Truncate on, a text wider than the box loses characters at
// its end, one at a time, until it fits.

#include "labels/LayoutFont.h"
#include "labels/ReportComponent.h"

namespace etibarix::labels {

class DataText : public ReportComponent {
public:
    static constexpr const char *ClassName = "TRaveDataText";

    // Alignment of the text in its box.
    enum class Justify { Center, Left, Right, Block };

    QByteArray className() const override { return ClassName; }
    bool setProperty(QByteArrayView name, const ProjectValue &value) override;

    const LayoutFont &font() const { return m_font; }
    LayoutFont &font() { return m_font; }
    Justify fontJustify() const { return m_fontJustify; }
    void setFontJustify(Justify j) { m_fontJustify = j; }
    const QByteArray &dataField() const { return m_dataField; }
    void setDataField(const QByteArray &field) { m_dataField = field; }
    bool truncate() const { return m_truncate; }
    void setTruncate(bool on) { m_truncate = on; }
    const QByteArray &text() const { return m_text; }

    // The text to print: the bound parameter's value ("param." fields), or
    // the Text property when no field is set.
    QByteArray value(const ReportProject &project) const;

    static std::optional<Justify> justifyFromName(QByteArrayView name);
    static QByteArray justifyName(Justify j);

private:
    LayoutFont m_font;
    Justify m_fontJustify = Justify::Left;
    QByteArray m_dataField;
    QByteArray m_text;
    bool m_truncate = true;
};

} // namespace etibarix::labels
