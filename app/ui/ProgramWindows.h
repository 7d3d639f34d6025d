#pragma once
// The program's windows, created once at start-up in a fixed order and kept
// for the run: the main window first (its creation handler runs then), then
// the record dialog, the about box, the import wizard and the language
// choice, all hidden. The dialogs are windows of their own (not children of
// the main window), so the main window's controls are the only ones its
// object names find.

#include <memory>

namespace etibarix::i18n {
class Tfchoixlangue;
}
namespace etibarix::info {
class Tfapropos;
}
namespace etibarix::records {
class Tfcremodcpte;
class Tfimportcsv;
}

namespace etibarix::app {

class TFprincip;

class ProgramWindows {
public:
    ProgramWindows();
    // The main window goes first: its controllers refer to the dialogs.
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    TFprincip &Fprincip() { return *m_fprincip; }
    records::Tfcremodcpte &fcremodcpte() { return *m_fcremodcpte; }
    info::Tfapropos &fapropos() { return *m_fapropos; }
    records::Tfimportcsv &fimportcsv() { return *m_fimportcsv; }
    i18n::Tfchoixlangue &fchoixlangue() { return *m_fchoixlangue; }

private:
    std::unique_ptr<TFprincip> m_fprincip;
    std::unique_ptr<records::Tfcremodcpte> m_fcremodcpte;
    std::unique_ptr<info::Tfapropos> m_fapropos;
    std::unique_ptr<records::Tfimportcsv> m_fimportcsv;
    std::unique_ptr<i18n::Tfchoixlangue> m_fchoixlangue;
};

} // namespace etibarix::app
