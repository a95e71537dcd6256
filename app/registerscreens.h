#pragma once

// Registers every screen the program has with ScreenRegistry and every dialog command
// with DialogCommands. Runs once per process; the frame and the exporter call it.
void registerScreens();
