// The scratch folder of a dispersion's runs (their saved states and orbhost's messages), in the temporary
// folder. It holds a lock for as long as its dispersion lives: a dispersion killed outright (SIGKILL) cannot
// remove its folder, so the next one removes every scratch folder whose lock nobody holds.
#pragma once

#include <string>

class TScratchFolder {
public:
    // Makes a new folder; Path() is empty when that fails.
    TScratchFolder();
    // Removes the folder and all in it.
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::string& Path() const { return Path_; }

private:
    std::string Path_;
    int Lock_ = -1;
};

// Removes the scratch folders of dispersions that died; returns how many.
int RemoveDeadScratchFolders();
