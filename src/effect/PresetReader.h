// Applying an FXP preset from the resource archive to a processor.
#pragma once

class AudioEffect;

// Reads the archive member memberName as an FXP program and passes value i to
// processor->setParameter(i, value) for every value present, up to the
// header's numParams; no other operation of the processor is called. True
// when the header was read (also when values are missing at the end); false
// when the member is missing, unreadable or shorter than the header, and
// nothing is set then. The caller opens the archive (an ArchiveSession).
// Loading paths only.
bool readPreset(AudioEffect* processor, const char* memberName);
