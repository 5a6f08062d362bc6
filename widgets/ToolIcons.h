#pragma once

#include <QIcon>

// The pictures of the toolbar's picture buttons, drawn in code so the program ships no image files.
QIcon NewsIcon();
QIcon UpdateIcon();
QIcon HelpIcon();
