// Any bytes as a settings file: reading never fails, and a write through the
// file lands where the next read finds it without disturbing other keys.
#include "settings/IniProfile.cpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

struct ScratchFile
{
    ScratchFile()
    {
        char pattern[] = "/tmp/corvane-fuzz-ini-XXXXXX";
        if (::mkdtemp(pattern))
            folder = pattern;
        path = folder + "/corvane.ini";
    }
    ~ScratchFile()
    {
        ::unlink(path.c_str());
        ::rmdir(folder.c_str());
    }
    std::string folder, path;
};

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_ini: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using corvane::IniProfile;
    const std::string content(reinterpret_cast<const char *>(data), size);

    // Names taken from the input too, so odd names meet odd files.
    const std::string_view first = std::string_view(content).substr(0, content.find('\n'));
    const std::string section
            = first.empty() ? "Form\\LCheckBox1" : std::string(first.substr(0, 12));
    const std::string key = "Checked";

    const auto other = IniProfile::lookup(content, "Form1\\Other", "Key");
    const auto sibling = IniProfile::lookup(content, section, "Sibling");
    if (auto v = IniProfile::lookup(content, section, key))
        check(v->size() <= IniProfile::kMaxValueBytes, "value longer than the cut");

    ScratchFile scratch;
    if (scratch.folder.empty())
        return 0;
    {
        FILE *f = std::fopen(scratch.path.c_str(), "wb");
        if (!f)
            return 0;
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }

    const IniProfile ini(scratch.path);
    check(ini.read(section, key) == IniProfile::lookup(content, section, key),
          "file and memory differ");
    // The start-up's one read answers as the file does, section named or not.
    const corvane::IniIndex once(scratch.path, {section});
    check(once.find(section, key) == IniProfile::lookup(content, section, key)
                  && once.find(section, "Sibling") == sibling
                  && once.find("Form1\\Other", "Key") == other,
          "one read and the file differ");
    if (!IniProfile::assign(content, section, key, "v123")) {
        check(!ini.write(section, key, "v123"), "unusable name accepted");
        return 0;
    }
    check(ini.write(section, key, "v123"), "write failed");
    check(ini.read(section, key) == "v123", "written value not read back");
    if (!IniProfile::namesEqual(section, "Form1\\Other"))
        check(ini.read("Form1\\Other", "Key") == other, "write disturbed another section");
    if (!IniProfile::namesEqual("Sibling", key))
        check(ini.read(section, "Sibling") == sibling, "write disturbed a sibling key");
    return 0;
}
