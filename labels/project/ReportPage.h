#pragma once
// A page of a report (TRavePage): its paper and the components printed on
// it, in the order the project lists them (children follow their parent).

#include "labels/project/ReportComponent.h"

#include <QSizeF>

#include <vector>

namespace etibarix::labels {

class ReportPage : public ReportComponent {
public:
    static constexpr const char *ClassName = "TRavePage";
    // Windows paper size codes used by the layouts.
    static constexpr int PaperLetter = 1;
    static constexpr int PaperA4 = 9;
    static constexpr int PaperCustom = -1;

    explicit ReportPage(QByteArray name = {});

    QByteArray className() const override { return ClassName; }
    bool setProperty(QByteArrayView name, const ProjectValue &value) override;

    int paperSize() const { return m_paperSize; }
    void setPaperSize(int code) { m_paperSize = code; }
    double pageWidth() const { return m_pageWidth; }   // inches
    double pageHeight() const { return m_pageHeight; } // inches
    void setPageSize(double widthInches, double heightInches);
    const QByteArray &orientation() const { return m_orientation; }
    int bin() const { return m_bin; }

    // The page size in millimetres.
    QSizeF sizeMm() const;

    const std::vector<std::unique_ptr<ReportComponent>> &components() const { return m_components; }
    ReportComponent *addComponent(std::unique_ptr<ReportComponent> component);
    // By name, without regard to case; nullptr when absent.
    ReportComponent *findComponent(QByteArrayView name) const;
    // Destroys the component of that name; false when there is none.
    bool removeComponent(QByteArrayView name);
    // Takes the component of that name off the page (nullptr when there is
    // none); addComponent puts it back, last in the printing order.
    std::unique_ptr<ReportComponent> takeComponent(QByteArrayView name);

private:
    int m_paperSize = PaperLetter;
    double m_pageWidth = 8.5;
    double m_pageHeight = 11;
    QByteArray m_orientation = QByteArrayLiteral("poDefault");
    int m_bin = -1;
    std::vector<std::unique_ptr<ReportComponent>> m_components;
};

} // namespace etibarix::labels
