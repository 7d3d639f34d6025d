#pragma once
// How the archive component talks to the user without knowing about windows:
// the GUI turns these into message boxes and event processing, the CLI
// answers them on the terminal. Every member may be left empty.

#include <QString>

#include <functional>

namespace etibarix::backup {

// The request for the next volume ("Please insert disk %s and click OK to
// continue.", information box with OK and Cancel).
struct DiskPrompt {
    QString text;         // the message as shown
    int disk = 0;         // number of the volume asked for
    QString volumePath;   // the file that volume is (to be) written to or read from
    bool restoring = false;
};

struct BackupCallbacks {
    // True for OK, false for Cancel. Empty: OK.
    std::function<bool(const DiskPrompt &prompt)> askDisk;
    // The component's error box (error type, OK button) with the code's text.
    std::function<void(const QString &text)> showError;
    // Called once per block so the window system can process pending events.
    std::function<void()> processEvents;
};

} // namespace etibarix::backup
