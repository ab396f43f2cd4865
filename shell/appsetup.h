// What the desktop program sets up before its first window: translation and font.
#pragma once

class QApplication;

// What the desktop program sets up before its first window: Qt's own Chinese
// translation (standard buttons read "确定", the file dialog speaks Chinese)
// and an application font that has Chinese glyphs.
void setUpApplication(QApplication& app);
