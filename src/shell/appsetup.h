#pragma once
// Process set-up shared by the program and its tests.

class QApplication;

namespace appsetup {
// Before QApplication: web engine flags and attributes.
void prepareEnvironment();
// After QApplication: names, Chinese translations of Qt's own dialogs.
void prepareApplication(QApplication &app);
// When QUORVIK_STARTUP_PROBE names a file, writes a start-up report there once the main
// window has loaded, and ends the program (used by the start-up test and benchmark).
// Message boxes are then answered with their default button and their texts reported.
void watchStartup();
// After the event loop: destroys what is left, web views before their profile.
void tearDown();
} // namespace appsetup
