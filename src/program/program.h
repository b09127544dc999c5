#pragma once

class fMain;

namespace mMain {
// The start-up: sets the process-wide values, creates the main window and
// every dialog (hidden), loads the main window and shows it. Returns once the
// main window is shown; the program lives as long as it is loaded.
fMain* Main();
} // namespace mMain
