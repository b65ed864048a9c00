// The floor of a check: reading its two documents whole (open, size, read, close), with
// nothing computed. Usage: read_floor FILE...
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        std::FILE* f = std::fopen(argv[i], "rb");
        if (f == nullptr || std::fseek(f, 0, SEEK_END) != 0) {
            std::perror(argv[i]);
            return 1;
        }
        text.resize(static_cast<std::size_t>(std::ftell(f)));
        std::rewind(f);
        const bool whole = std::fread(text.data(), 1, text.size(), f) == text.size();
        std::fclose(f);
        if (!whole) {
            std::perror(argv[i]);
            return 1;
        }
    }
    return text.empty() ? 1 : 0;
}
