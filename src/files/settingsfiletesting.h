#pragma once

// Test seam: while set, saveSettingsFile() abandons the new file just before
// its commit, the way a failing rename or flush would, so tests can show that
// the previous file survives a save that breaks off.
void setSaveCommitFailureForTesting(bool fail);
