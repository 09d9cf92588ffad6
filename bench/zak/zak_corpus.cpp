// Writes a deterministic mixed corpus for the ".zak" benchmark: text-like runs, random bytes and zeros,
// in segments of varying length. Usage: zak_corpus OUT MIB
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Rng {
    uint64_t s;
    uint64_t next()
    {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return s * 2685821657736338717ull;
    }
    uint64_t below(uint64_t n) { return next() % n; }
};

std::vector<std::string> vocabulary(Rng& rng)
{
    static const char* syllables[] = {"ka", "lo", "mi", "ren", "sta", "ti", "or", "pe", "qua", "ne", "an",
                                      "dor", "is", "ul", "ve", "be", "tion", "ing", "er", "ma", "co", "de"};
    std::vector<std::string> words;
    for (int i = 0; i < 4096; ++i) {
        std::string w;
        const int n = 1 + int(rng.below(3)) + (i > 512 ? 1 : 0);
        for (int k = 0; k < n; ++k)
            w += syllables[rng.below(sizeof syllables / sizeof *syllables)];
        words.push_back(w);
    }
    return words;
}

void text(Rng& rng, const std::vector<std::string>& words, std::string& out, size_t n)
{
    size_t line = 0;
    bool capital = true;
    while (out.size() < n) {
        // Skewed choice: common words come up far more often than rare ones.
        const uint64_t a = rng.below(words.size()), b = rng.below(words.size());
        std::string w = words[a * b / words.size()];
        if (rng.below(40) == 0)
            w = std::to_string(rng.below(100000));
        if (capital && w[0] >= 'a' && w[0] <= 'z')
            w[0] = char(w[0] - 32);
        capital = false;
        out += w;
        line += w.size();
        const uint64_t p = rng.below(16);
        if (p == 0) {
            out += '.';
            capital = true;
        } else if (p == 1) {
            out += ',';
        }
        if (line > 72) {
            out += '\n';
            line = 0;
        } else {
            out += ' ';
            ++line;
        }
    }
    out.resize(n);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zak_corpus OUT MIB\n");
        return 2;
    }
    FILE* f = std::fopen(argv[1], "wb");
    if (!f)
        return 1;
    const uint64_t total = uint64_t(std::strtoull(argv[2], nullptr, 10)) << 20;
    Rng rng{0x9E3779B97F4A7C15ull};
    const std::vector<std::string> words = vocabulary(rng);
    std::string seg;
    uint64_t written = 0;
    while (written < total) {
        const size_t len = size_t(std::min<uint64_t>(total - written, (256u << 10) + rng.below(4u << 20)));
        const uint64_t kind = rng.below(4);     // 2 of 4 text, 1 random, 1 zeros
        seg.clear();
        if (kind < 2) {
            text(rng, words, seg, len);
        } else if (kind == 2) {
            seg.resize(len);
            for (size_t i = 0; i + 8 <= len; i += 8) {
                const uint64_t v = rng.next();
                std::copy_n(reinterpret_cast<const char*>(&v), 8, seg.data() + i);
            }
        } else {
            seg.assign(len, '\0');
        }
        if (std::fwrite(seg.data(), 1, seg.size(), f) != seg.size())
            return 1;
        written += len;
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
