#pragma once
// Qt's own texts (the Yes/No/OK/Cancel of message boxes, the file dialogs)
// in the program's language, from the translations installed with Qt.

namespace etibarix::i18n {

// 1 French, 2 English (Qt's own texts), 3 Portuguese (Brazilian, the only
// Portuguese Qt ships). False when the translation could not be loaded; the
// texts then stay English.
bool ApplyQtTranslation(int language);

} // namespace etibarix::i18n
