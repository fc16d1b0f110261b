// libFuzzer target: arbitrary bytes as a profile text, through the field
// parser, the loader, resolution, selection and the sections written back.
// Built by a host build with clang (see profile/CMakeLists.txt).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "errors/SetupException.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileLoader.h"
#include "profile/ProfileSections.h"

#include "ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int index = 0; index < 8; ++index) {
        std::string field;
        int32_t i32 = 0;
        int16_t i16 = 0;
        int flag = 0;
        const bool present = ExtractTextField(text, index, field);
        if (ExtractInt32Field(text, index, i32) != present || ExtractInt16Field(text, index, i16) != present ||
            ExtractFlagField(text, index, flag) != present)
            abort();
        if (present && (i16 != static_cast<int16_t>(static_cast<uint32_t>(i32) & 0xFFFF) || flag != (i32 != 0)))
            abort();
    }

    MemoryProfile profile = fuzz::ProfileFromText(text);
    DestinationMap destinations("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    ComponentMap components;
    TargetMap targets;
    SourceFileList sourceFiles;
    DisketteArray diskettes;
    ProfileContainers containers{destinations, components, targets, sourceFiles, diskettes};
    try {
        LoadProfile(profile, containers, nullptr);
    } catch (const CInstallProfileException& e) {
        if (e.cause != 0 && e.cause != 1) abort();
    }
    int previous = -1, previousLate = 0;
    for (const SourceFile& f : sourceFiles) {
        if (f.diskette < previous || (f.diskette == previous && f.late < previousLate)) abort();
        previous = f.diskette;
        previousLate = f.late;
    }
    components.SelectBySetupType(SetupType::Typical);
    (void)sourceFiles.RequiredBytes();
    destinations.SetPath(DestMain, "C:\\TYVIEWER\\");
    try {
        destinations.ResolveDestinations();
    } catch (const CInstallProfileException& e) {
        if (e.cause != 1) abort();
    }
    MemoryProfile log;
    SaveProfileSections(log, destinations, components, targets);
    return 0;
}
