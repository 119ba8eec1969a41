#include <charconv>
#include <cmath>

#include "core/file-replace.h"
#include "model/obj-format.h"

namespace {

// Appends text the way a default-formatted output stream writes it.
class Out {
  public:
    explicit Out(std::string& s) : s_(s) {}
    Out& operator<<(const char* text) {
        s_ += text;
        return *this;
    }
    Out& operator<<(const std::string& text) {
        s_ += text;
        return *this;
    }
    // Six significant digits, "%g" style: 1, 0.3536, 1e-07, 1.23457e+08.
    Out& operator<<(float value) {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, 6);
        s_.append(buffer, result.ptr);
        return *this;
    }
    Out& operator<<(int32_t value) {
        char buffer[16];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        s_.append(buffer, result.ptr);
        return *this;
    }

  private:
    std::string& s_;
};

constexpr const char* kEol = "\r\n";

void writeVector(Out& out, const vm::Vec4& v, const char* separator) {
    out << separator << v.x << " " << v.y << " " << v.z << " " << v.w;
}

} // namespace

std::string writeObj(const Model& model, const ModelTree* tree) {
    std::string text;
    text.reserve(64 + model.points.size() * 32 + model.patches.size() * 96);
    Out out(text);
    out << "cstype bezier" << kEol << "deg 3" << kEol << kEol;

    for (const vm::Float3& p : model.points) out << "v " << p.x << " " << p.y << " " << p.z << kEol;
    out << kEol;

    for (const auto& group : model.groups)
        if (const auto* symmetry = dynamic_cast<const Model::Symmetry*>(group.get())) {
            out << "symmetry " << symmetry->name;
            writeVector(out, symmetry->firstVector, " ");
            writeVector(out, symmetry->secondVector, " ");
            out << kEol;
        }
    out << kEol;

    for (const Model::Patch& patch : model.patches) {
        out << kEol;
        if (patch.group != -1) out << "g " << model.groups[static_cast<size_t>(patch.group)]->name << kEol;
        if (!(patch.alpha == 1.0f)) out << "m " << patch.alpha << kEol; // NaN is written too
        out << "surf 0.0 1.0 0.0 1.0";
        for (int32_t index : patch.indices) out << " " << index;
        out << kEol << "end" << kEol;
    }

    for (const Model::Locator& locator : model.locators) {
        std::string name = tree ? tree->itemText(locator.treeItem) : std::string();
        if (name.empty()) name = "prblem";
        out << "locator" << kEol << name << kEol;
        writeVector(out, locator.position, "");
        out << kEol;
        writeVector(out, locator.orientation, "");
        out << kEol;
    }
    return text;
}

ObjResult saveObj(const Model& model, const std::string& path, const ModelTree* tree) {
    std::string error;
    if (!replaceFileContents(path, writeObj(model, tree), &error))
        return {ObjResult::Status::CannotWrite, error};
    return {};
}
