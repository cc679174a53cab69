// The settings path, bounded by its 256-byte buffer.
#include "shell/SettingsPath.h"

#include <cstring>

bool ComposeSettingsPath(const char* directory, char (&path)[kSettingsPathBytes]) {
    const size_t dirLength = directory != nullptr ? std::strlen(directory) : 0;
    const size_t nameLength = std::strlen(kSettingsFileName);
    if (dirLength == 0 || dirLength + 1 + nameLength + 1 > kSettingsPathBytes) {
        std::memcpy(path, kRelativeSettingsPath, std::strlen(kRelativeSettingsPath) + 1);
        return false;
    }
    std::memcpy(path, directory, dirLength);
    path[dirLength] = '\\';
    std::memcpy(path + dirLength + 1, kSettingsFileName, nameLength + 1);
    return true;
}
