// The floor of a compile's writing: the same number of bytes into the same fresh files,
// from one reused 256 KiB buffer (open, write in 256 KiB pieces, close), with nothing
// computed. Usage: write_floor FOLDER NAME SIZE [NAME SIZE ...]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: write_floor FOLDER NAME SIZE [NAME SIZE ...]\n");
        return 2;
    }
    std::vector<char> buffer(std::size_t{256} << 10, 'x');
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string path = std::string(argv[1]) + "/" + argv[i];
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            std::perror(path.c_str());
            return 1;
        }
        std::setvbuf(f, nullptr, _IONBF, 0);
        for (unsigned long long left = std::strtoull(argv[i + 1], nullptr, 10); left > 0;) {
            const std::size_t n = left < buffer.size() ? static_cast<std::size_t>(left) : buffer.size();
            if (std::fwrite(buffer.data(), 1, n, f) != n) {
                std::perror(path.c_str());
                return 1;
            }
            left -= n;
        }
        if (std::fclose(f) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
