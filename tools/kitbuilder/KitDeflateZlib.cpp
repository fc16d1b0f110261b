#include "tools/kitbuilder/KitDeflate.h"

#include <algorithm>
#include <string>

#include "archive/MultiFileWriter.h"

std::vector<unsigned char> KitDeflate(const std::vector<unsigned char>& data, int level) {
    if (level < 0 || level > kKitMaxLevel)
        throw ArchiveWriteError("deflate level " + std::to_string(level) + " is not 0 to 12");
    return DeflateMember(data, std::min(level, 9));
}
