#pragma once
// A component of a report page: something with a place on the page that
// prints itself. Lengths are kept in inches, as the project stores them.

#include "labels/project/ProjectValue.h"

#include <QByteArray>

#include <memory>

namespace etibarix::labels {

class PageSurface;
class ReportProject;

class ReportComponent {
public:
    explicit ReportComponent(QByteArray name = {}) : m_name(std::move(name)) {}
    virtual ~ReportComponent() = default;
    ReportComponent(const ReportComponent &) = delete;
    ReportComponent &operator=(const ReportComponent &) = delete;

    // The component classes the project reader knows; nullptr for any other.
    static std::unique_ptr<ReportComponent> create(QByteArrayView className);

    virtual QByteArray className() const = 0;

    const QByteArray &name() const { return m_name; }
    void setName(const QByteArray &name) { m_name = name; }

    double left() const { return m_left; }
    double top() const { return m_top; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    void setLeft(double inches) { m_left = inches; }
    void setTop(double inches) { m_top = inches; }
    void setWidth(double inches) { m_width = inches; }
    void setHeight(double inches) { m_height = inches; }

    // Sets a stored property (name compared without regard to case). False
    // when the class has no property of that name; a value of an unsuitable
    // type leaves the property unchanged.
    virtual bool setProperty(QByteArrayView name, const ProjectValue &value);

    // Draws the component on a sheet, with the project's parameter values.
    virtual void print(PageSurface &page, const ReportProject &project) const;

protected:
    static bool setLength(double &target, const ProjectValue &value);
    static bool setFlag(bool &target, const ProjectValue &value);
    static bool setText(QByteArray &target, const ProjectValue &value);

private:
    QByteArray m_name;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
};

} // namespace etibarix::labels
