#pragma once
// The containers a profile is loaded into, owned together, with the
// directories of a Windows 95 machine on drive C. Used by the unit and wine
// tiers.

#include "profile/ProfileLoader.h"

namespace profile_test {

struct Model {
    DestinationMap destinations{"C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\"};
    ComponentMap components;
    TargetMap targets;
    SourceFileList sourceFiles;
    DisketteArray diskettes;
    ProfileContainers containers() { return {destinations, components, targets, sourceFiles, diskettes}; }
};

}  // namespace profile_test
