// The OLE library of the GUI thread, initialised for the lifetime of a GUI
// editor (drag and drop and the clipboard of the toolkit stand on it).
#pragma once

namespace platform {

// Initialise and release OLE for the calling thread; calls nest. Systems
// without OLE do nothing.
void oleInitialize();
void oleUninitialize();

}  // namespace platform
