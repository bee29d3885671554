// Replays a fuzz target's corpus without libFuzzer: every file named on the
// command line, or found in a folder named there, is passed once to
// LLVMFuzzerTestOneInput. The test suite runs this over the committed corpus,
// so that inputs which once failed stay fixed in every build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> file;
    for (int i = 1; i < argc; ++i) {
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& e : std::filesystem::directory_iterator(argv[i]))
                if (e.is_regular_file())
                    file.push_back(e.path());
        } else {
            file.emplace_back(argv[i]);
        }
    }
    std::sort(file.begin(), file.end());
    for (const auto& f : file) {
        std::ifstream in(f, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: impossibile aprire il file\n", f.string().c_str());
            return 1;
        }
        const std::vector<char> c{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(c.data()), c.size());
    }
    std::printf("%zu ingressi ripetuti\n", file.size());
    return file.empty() ? 1 : 0;
}
