// Writes one payload for the install benchmark, always the same bytes for the
// same arguments (fixed seed, no clock):
//   install_payload big   DIR SETUP_EXE [x86|amd64]   ~64 MiB in ~200 files of mixed kinds
//   install_payload small DIR SETUP_EXE [x86|amd64]   5,000 files of 200 B to 20 KiB
// DIR receives:
//   src/       the product files (8.3 names, one directory)
//   kit.ini    a kit description for tvkit: one component, one deflated
//              archive, destination 0 = INSTALL_NAME, one diskette
//   setup.nsi  the same files as a silent zlib installer script for makensis,
//              for NSIS's x86 (the default) or amd64 stub
// and the program prints "files N bytes B" on stdout.
// Host program; built by bench/install-bench.sh.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// splitmix64: small, fast and the same on every host.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi].
    std::uint32_t Between(std::uint32_t lo, std::uint32_t hi) {
        return lo + static_cast<std::uint32_t>(Next() % (static_cast<std::uint64_t>(hi) - lo + 1));
    }

private:
    std::uint64_t state;
};

enum Kind { kText, kRandom, kZeros, kBinary, kKinds };
const char* const kExtensions[kKinds] = {"PDB", "JPG", "DAT", "DLL"};

// Molecule coordinates as text: compresses about 3 to 4 times.
void FillText(Bytes& out, std::size_t size, Random& rng) {
    static const char* const residues[] = {"ALA", "GLY", "SER", "LEU", "VAL", "LYS", "ASP", "HIS"};
    static const char* const atoms[] = {"N  ", "CA ", "C  ", "O  ", "CB ", "CG "};
    std::size_t serial = 1;
    char line[96];
    while (out.size() < size) {
        const int n = std::snprintf(line, sizeof line, "ATOM  %5zu  %s %s A%4u    %8.3f%8.3f%8.3f  1.00%6.2f           %c\n",
                                    serial % 100000, atoms[rng.Next() % 6], residues[rng.Next() % 8],
                                    static_cast<unsigned>(serial / 6 % 10000), (rng.Next() % 200000) / 1000.0 - 100,
                                    (rng.Next() % 200000) / 1000.0 - 100, (rng.Next() % 200000) / 1000.0 - 100,
                                    (rng.Next() % 8000) / 100.0, "CNOS"[rng.Next() % 4]);
        for (int i = 0; i < n && out.size() < size; ++i)
            out.push_back(static_cast<unsigned char>(line[i]));
        ++serial;
    }
}

// Program code and tables: small values, repeated runs, some noise.
void FillBinary(Bytes& out, std::size_t size, Random& rng) {
    while (out.size() < size) {
        const std::uint64_t r = rng.Next();
        const unsigned run = 1 + r % 12;
        const unsigned char value = (r >> 8) % 4 == 0 ? static_cast<unsigned char>(r >> 16) : static_cast<unsigned char>((r >> 16) % 16);
        for (unsigned i = 0; i < run && out.size() < size; ++i)
            out.push_back(i % 3 == 2 ? static_cast<unsigned char>(value + i) : value);
    }
}

Bytes MakeContent(Kind kind, std::size_t size, Random& rng) {
    Bytes out;
    out.reserve(size);
    switch (kind) {
    case kText: FillText(out, size, rng); break;
    case kRandom:
        while (out.size() < size) {
            const std::uint64_t r = rng.Next();
            for (int i = 0; i < 8 && out.size() < size; ++i)
                out.push_back(static_cast<unsigned char>(r >> (8 * i)));
        }
        break;
    case kZeros: out.assign(size, 0); break;
    default: FillBinary(out, size, rng); break;
    }
    return out;
}

struct Payload {
    std::vector<std::string> names;
    std::uint64_t bytes = 0;
};

void WriteFile(const std::filesystem::path& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

Payload WriteBig(const std::filesystem::path& src) {
    // 200 files averaging 320 KiB: 64 MiB give or take a few percent.
    Random rng(20261207);
    Payload p;
    for (int i = 0; i < 200; ++i) {
        const Kind kind = static_cast<Kind>(rng.Next() % kKinds);
        const std::size_t size = rng.Between(8 * 1024, 632 * 1024);
        char name[16];
        std::snprintf(name, sizeof name, "B%04d.%s", i, kExtensions[kind]);
        const Bytes data = MakeContent(kind, size, rng);
        WriteFile(src / name, data);
        p.names.push_back(name);
        p.bytes += data.size();
    }
    return p;
}

Payload WriteSmall(const std::filesystem::path& src) {
    Random rng(5000);
    Payload p;
    for (int i = 0; i < 5000; ++i) {
        const Kind kind = static_cast<Kind>(rng.Next() % kKinds);
        const std::size_t size = rng.Between(200, 20 * 1024);
        char name[16];
        std::snprintf(name, sizeof name, "S%04d.%s", i, kExtensions[kind]);
        const Bytes data = MakeContent(kind, size, rng);
        WriteFile(src / name, data);
        p.names.push_back(name);
        p.bytes += data.size();
    }
    return p;
}

void WriteKit(const std::filesystem::path& dir, const std::string& setupExe, const std::string& installName,
              const Payload& p) {
    std::ofstream kit(dir / "kit.ini", std::ios::binary | std::ios::trunc);
    // One diskette large enough for everything.
    kit << "[kit]\ndisk_size = 1000000000\nsetup_exe = " << setupExe << "\nlabel = Bench Disk %d\n\n"
        << "[destinations]\n0 = " << installName << "|-1|\n\n"
        << "[groups]\nBench = Benchmark files|All files|1|1|1\n\n"
        << "[archive DATA.A1]\ncomponent = Bench\nmethod = deflate\nlevel = 9\n\n";
    for (const std::string& name : p.names)
        kit << "[file " << name << "]\nsource = src/" << name << "\narchive = DATA.A1\ndestination = 0\n";
    if (!kit) throw std::runtime_error("cannot write kit.ini");
}

void WriteNsis(const std::filesystem::path& dir, const std::string& installName, bool amd64) {
    std::ofstream nsi(dir / "setup.nsi", std::ios::binary | std::ios::trunc);
    // zlib as our kit uses; silent; no uninstaller, no registry: the files only.
    // The amd64 stub is built for Unicode only.
    nsi << (amd64 ? "Target amd64-unicode\n" : "Unicode false\n") << "SetCompressor zlib\nSilentInstall silent\nRequestExecutionLevel user\n"
        << "Name \"Bench\"\nOutFile \"setup-nsis.exe\"\nInstallDir \"C:\\" << installName << "\"\n"
        << "Section\n  SetOutPath \"$INSTDIR\"\n  File \"src\\*.*\"\nSectionEnd\n";
    if (!nsi) throw std::runtime_error("cannot write setup.nsi");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5 || (std::strcmp(argv[1], "big") != 0 && std::strcmp(argv[1], "small") != 0) ||
        (argc == 5 && std::strcmp(argv[4], "x86") != 0 && std::strcmp(argv[4], "amd64") != 0)) {
        std::fprintf(stderr, "usage: install_payload big|small DIR SETUP_EXE [x86|amd64]\n");
        return 2;
    }
    try {
        const bool big = std::strcmp(argv[1], "big") == 0;
        const std::filesystem::path dir = argv[2];
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "src");
        const Payload p = big ? WriteBig(dir / "src") : WriteSmall(dir / "src");
        const std::string installName = big ? "TVBENCHA" : "TVBENCHB";
        WriteKit(dir, argv[3], installName, p);
        WriteNsis(dir, big ? "NSBENCHA" : "NSBENCHB", argc == 5 && std::strcmp(argv[4], "amd64") == 0);
        std::printf("files %zu bytes %llu\n", p.names.size(), static_cast<unsigned long long>(p.bytes));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "install_payload: %s\n", e.what());
        return 1;
    }
    return 0;
}
