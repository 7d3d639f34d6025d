#include "app/ui/ProgramWindows.h"

#include "app/ui/TFprincip.h"
#include "i18n/ui/Tfchoixlangue.h"
#include "info/ui/Tfapropos.h"
#include "records/ui/Tfcremodcpte.h"
#include "records/ui/Tfimportcsv.h"

namespace etibarix::app {

ProgramWindows::ProgramWindows()
{
    m_fprincip = std::make_unique<TFprincip>();
    m_fcremodcpte = std::make_unique<records::Tfcremodcpte>();
    m_fapropos = std::make_unique<info::Tfapropos>();
    m_fimportcsv = std::make_unique<records::Tfimportcsv>();
    m_fchoixlangue = std::make_unique<i18n::Tfchoixlangue>();

    TFprincip::Windows windows;
    windows.fcremodcpte = m_fcremodcpte.get();
    windows.fapropos = m_fapropos.get();
    windows.fimportcsv = m_fimportcsv.get();
    windows.fchoixlangue = m_fchoixlangue.get();
    m_fprincip->AttachWindows(windows);
}

ProgramWindows::~ProgramWindows()
{
    m_fprincip.reset();
}

} // namespace etibarix::app
