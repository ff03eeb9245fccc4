#include "tests/support/support.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "engine/field_table.h"
#include "engine/load_type.h"
#include "engine/rating_run.h"
#include "inputfile/inputfile.h"

namespace slabrating::support {

namespace fs = std::filesystem;

SlabFields exampleFields() {
    SlabFields f;
    f.LoadType = LoadType::StateTrucks;
    f.StructNo = "B-12-AC";
    f.Rater = "JD";
    f.Hwy = "50";
    f.Comments = "SH 50 OVER CREEK";
    f.EffSpan = "18.5";
    f.SlabThick = "14";
    f.StDistTop = "12.5";
    f.StAreaTop = "0.31";
    f.Bitum = "2";
    f.Concfc = "3000";
    f.SteelFy = "40000";
    f.StDistBot = "1.5";
    f.STAreaBot = "0.6";
    return f;
}

SlabFields changed(SlabFields f, const std::map<std::string, std::string>& texts) {
    for (const auto& [name, text] : texts) {
        if (name == kLoadTypeName) {
            f.LoadType = *loadTypeText(text);
        } else {
            f.*fieldNamed(name)->text = text;
        }
    }
    return f;
}

SlabFields exampleFieldsAsRead() {
    SlabFields f = exampleFields();
    f.Rater = " JD";
    f.Hwy = " 50";
    f.BatchID = "      ";
    f.Comments = "     SH 50 OVER CREEK";
    f.ModRatio = "00";
    return f;
}

SlabFields loadFactorStrip() {
    SlabFields f;
    f.Bitum = "2";
    f.EffSpan = "12";
    f.SlabThick = "8";
    f.StAreaTop = "0.62";
    f.StDistTop = "6.5";
    f.STAreaBot = "0.62";
    f.StDistBot = "1.5";
    f.Concfc = "4000";
    f.SteelFy = "60000";
    return f;
}

SlabFields workingStressStrip() {
    SlabFields f = loadFactorStrip();
    f.EffSpan = "10";
    f.Concfc = "1200";
    f.SteelFy = "20000";
    f.ModRatio = "10";
    return f;
}

std::vector<Example> examples() {
    std::vector<Example> all;
    for (const char* name :
         {"lf-state-trucks", "lf-thickness-warning", "ws-interstate-trucks", "ws-slab"}) {
        const fs::path base = fs::path(SLABRATING_EXAMPLES) / name;
        all.push_back(
            {fs::path(base).replace_extension(".qri"), fs::path(base).replace_extension(".qro")});
    }
    return all;
}

std::string engineReport(const Example& example, std::string_view date) {
    SlabFields fields;
    if (ReadInputFile(example.input.string(), fields).stopped()) {
        return "<missing>";
    }
    return RunRating(fields, date).report + "\r\n";
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "slabrating-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_dir = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave folders without write permission behind; give it back first.
    for (auto it = fs::recursive_directory_iterator(m_dir, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(m_dir, ignored);
}

std::string TempDir::path(std::string_view name) const {
    return (m_dir / name).string();
}

std::string TempDir::listing() const {
    return listingOf(m_dir);
}

std::string TempDir::listingOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names) {
        text += text.empty() ? "" : " ";
        text += name;
    }
    return text;
}

std::string readBytes(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return "<missing>";
    }
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream stream(file, std::ios::binary);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace slabrating::support
