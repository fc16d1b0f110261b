#pragma once
// Diskette images of a finished kit, for a duplicator: DISK01.IMG,
// DISK02.IMG, ... beside the DISKnn directories, FAT12 images of 720 KB or
// 1.44 MB made by mtools (mformat, mcopy), which must be on the PATH. Also
// the way back, for tvkit verify. Host only (POSIX): it runs programs.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/kitbuilder/KitBuilder.h"

// Writes outputDir/DISKnn.IMG for every diskette of the result, formatted
// by disk_size (737280 or 1457664 only), labelled with the diskette's
// label and holding its files in the order written. Every file of the
// DISKnn directories and of the images carries fileTime (seconds since
// 1970, UTC), and the serial numbers are fixed, so that the same kit gives
// the same images byte for byte. progress hears a line per image.
// Throws KitError.
void WriteKitImages(const KitResult& result, const std::string& outputDir, std::int64_t fileTime,
                    const std::function<void(const std::string&)>& progress = {});

// The DISK*.IMG files of a directory, sorted by name.
std::vector<std::string> FindKitImages(const std::string& dir);

// Extracts every image into targetDir/DISKnn (nn from the image's name).
// Returns the problems met (an image mcopy cannot read), one per image.
std::vector<std::string> ExtractKitImages(const std::vector<std::string>& images, const std::string& targetDir);
