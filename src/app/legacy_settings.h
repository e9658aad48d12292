// The move of the settings from the program's old registry location, once, at start-up:
// the values the old key holds are written to the current store, then the old key goes.
#pragma once

class SettingsStore;

// True when an old key was found and its values now stand in `current`; the old key is
// deleted only then, so a run that ends early loses nothing.
bool MoveLegacySettings(SettingsStore& current);
