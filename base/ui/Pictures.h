#pragma once
// The program's pictures, drawn in code so that they stay crisp at any size
// and need no image files beside the program.

#include <QIcon>
#include <QPixmap>

namespace etibarix::ui {

enum class Picture {
    LoadBackup,
    SaveBackup,
    Info,
    Help,
    Quit,
    Refresh,
    Add,
    Modify,
    Delete,
    Import,
    Print,
    Apply,
    Reset,
    Ok,
    Cancel,
    TabRecords,
    TabPrinting,
    TabParameters,
    FlagFrance,
    FlagUnitedKingdom,
    FlagPortugal,
    Emblem,
};

// The picture at the given square size (flags are 3:2 inside that square).
QPixmap DrawPicture(Picture picture, int size);

// An icon holding the picture at the usual sizes.
QIcon PictureIcon(Picture picture);

} // namespace etibarix::ui
