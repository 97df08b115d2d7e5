// Corpus texts as seeds for the fuzz targets. Half of the inputs are read as
// an edit of a piece of real prose (which text, where, how long, and bytes
// put into it), so that even a short run starts from CP932 text as the
// program meets it rather than from noise; the other half go through as they
// are. The texts are looked for in $CORVANE_FUZZ_SEEDS, then in the
// repository's tests/corpus; without any, every input goes through as it is.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvane::fuzz {

class SeedTexts
{
public:
    SeedTexts()
    {
        namespace fs = std::filesystem;
        std::vector<fs::path> folders;
        if (const char *env = std::getenv("CORVANE_FUZZ_SEEDS"))
            folders.emplace_back(env);
        const fs::path repo = fs::path(__FILE__).parent_path().parent_path().parent_path();
        folders.push_back(repo / "tests" / "corpus");
        for (const fs::path &folder : folders) {
            std::error_code ec;
            for (const auto &entry : fs::directory_iterator(folder, ec)) {
                if (entry.path().extension() != ".txt")
                    continue;
                std::ifstream in(entry.path(), std::ios::binary);
                std::string text((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
                if (!text.empty())
                    m_texts.push_back(std::move(text));
            }
            if (!m_texts.empty())
                break;
        }
    }

    std::size_t count() const { return m_texts.size(); }

    // The bytes an input stands for: itself, or (odd first byte) up to 8 KiB
    // of a corpus text from a position the next bytes choose, with the rest
    // of the input put in at a place its last byte chooses.
    std::string input(const uint8_t *data, std::size_t size) const
    {
        if (m_texts.empty() || size < 5 || (data[0] & 1) == 0)
            return std::string(reinterpret_cast<const char *>(data), size);
        const std::string &text = m_texts[data[1] % m_texts.size()];
        const std::size_t at = (std::size_t(data[2]) << 16 | std::size_t(data[3]) << 8 | data[4])
                * 97 % text.size();
        const std::size_t length = 64 + std::size_t(data[0] >> 1) * 64; // 64 B .. 8 KiB
        std::string piece = text.substr(at, length);
        const std::string extra(reinterpret_cast<const char *>(data) + 5, size - 5);
        const std::size_t where = extra.empty() ? 0 : piece.size() * data[size - 1] / 256;
        piece.insert(where, extra);
        return piece;
    }

private:
    std::vector<std::string> m_texts;
};

} // namespace corvane::fuzz
