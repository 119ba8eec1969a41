#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/file-replace.h"
#include "model/decimal-number.h"
#include "model/obj-format.h"
#include "model/six-digits.h"

namespace {

// Appends text the way a default-formatted output stream writes it.
class Out {
  public:
    Out(std::string& s, WrittenDigits digits) : s_(s), digits_(digits) {}
    Out& operator<<(const char* text) {
        s_ += text;
        return *this;
    }
    Out& operator<<(const std::string& text) {
        s_ += text;
        return *this;
    }
    // Six significant digits, "%g" style: 1, 0.3536, 1e-07, 1.23457e+08; or the shortest
    // text that reads back as the same float.
    Out& operator<<(float value) {
        char buffer[32];
        auto result = digits_ == WrittenDigits::Exact
                          ? std::to_chars(buffer, buffer + sizeof buffer, value)
                          : std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::general, kKeptDigits);
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
    static constexpr int kKeptDigits = 6;
    std::string& s_;
    WrittenDigits digits_;
};

constexpr const char* kEol = "\r\n";

void writeVector(Out& out, const vm::Vec4& v, const char* separator) {
    out << separator << v.x << " " << v.y << " " << v.z << " " << v.w;
}

// Room for the whole text at once, at most what the longest numbers take: growing by doubling
// would hold two copies of a large model's text at a time (room never written takes no memory).
size_t largestText(const Model& model) {
    constexpr size_t kNumber = 16, kIndex = 12; // "-1.17549435e-38", " -2147483648"
    constexpr size_t kHead = 64, kPoint = 2 + 3 * (kNumber + 1) + 2;
    constexpr size_t kPatch = 2 + 24 + 16 * kIndex + 9 + 2 + kNumber + 4; // surf, end, m
    constexpr size_t kLocator = 64 + 8 * (kNumber + 1);
    size_t size = kHead + model.points.size() * kPoint + model.patches.size() * kPatch +
                  model.locators.size() * kLocator;
    for (const Model::Patch& patch : model.patches)
        if (patch.group != -1)
            size += 4 + model.groups[static_cast<size_t>(patch.group)]->name.size();
    for (const auto& group : model.groups)
        size += 16 + group->name.size() + 8 * (kNumber + 1);
    for (const Model::Locator& locator : model.locators)
        size += locator.name.size();
    return size;
}

} // namespace

std::string writeObj(const Model& model, WrittenDigits digits) {
    std::string text;
    text.reserve(largestText(model));
    Out out(text, digits);
    out << "cstype bezier" << kEol << "deg 3" << kEol << kEol;

    for (const vm::Float3& p : model.points)
        out << "v " << p.x << " " << p.y << " " << p.z << kEol;
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
        if (patch.group != -1)
            out << "g " << model.groups[static_cast<size_t>(patch.group)]->name << kEol;
        if (!(patch.alpha == 1.0f)) out << "m " << patch.alpha << kEol; // NaN is written too
        out << "surf 0.0 1.0 0.0 1.0";
        for (int32_t index : patch.indices)
            out << " " << index;
        out << kEol << "end" << kEol;
    }

    for (size_t i = 0; i < model.locators.size(); ++i) {
        const Model::Locator& locator = model.locators[i];
        // A name must be one word to read back; a locator without one gets its default.
        std::string name = locator.name;
        if (name.empty()) name = "Locator_" + std::to_string(i);
        out << "locator" << kEol << name << kEol;
        writeVector(out, locator.position, "");
        out << kEol;
        writeVector(out, locator.orientation, "");
        out << kEol;
    }
    return text;
}

float asWritten(float value) {
    if (float quick = 0; six_digits::roundQuickly(value, quick)) return quick;
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    float read = 0;
    if (decimal::parse(buffer, written.ptr, read) == written.ptr) return read;
    *written.ptr = '\0';
    return std::strtof(buffer, nullptr); // HUGE_VALF when the rounding went past the largest
}

std::string unwritableReason(const Model& model) {
    auto finite = [](const auto&... v) { return (readsBack(v) && ...); };
    for (size_t i = 0; i < model.points.size(); ++i) {
        const vm::Float3& p = model.points[i];
        if (!finite(p.x, p.y, p.z))
            return "point " + std::to_string(i) + " has a coordinate that is not a finite number";
    }
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (!finite(model.patches[i].alpha))
            return "patch " + std::to_string(i) + " has an opacity that is not a finite number";
    for (size_t i = 0; i < model.locators.size(); ++i) {
        const Model::Locator& l = model.locators[i];
        if (!finite(l.position.x, l.position.y, l.position.z, l.position.w, l.orientation.x,
                    l.orientation.y, l.orientation.z, l.orientation.w))
            return "locator " + std::to_string(i) + " has a value that is not a finite number";
    }
    for (size_t g = 0; g < model.groups.size(); ++g)
        if (auto* s = dynamic_cast<const Model::Symmetry*>(model.groups[g].get()))
            if (!finite(s->firstVector.x, s->firstVector.y, s->firstVector.z, s->firstVector.w,
                        s->secondVector.x, s->secondVector.y, s->secondVector.z, s->secondVector.w))
                return "symmetry " + s->name + " has a value that is not a finite number";
    return {};
}

ObjResult saveObj(const Model& model, const std::string& path) {
    if (std::string reason = unwritableReason(model); !reason.empty())
        return ObjResult::failure(ObjResult::Status::Invalid, reason);
    std::string error;
    if (!replaceFileContents(path, writeObj(model), &error))
        return ObjResult::failure(ObjResult::Status::CannotWrite, error);
    return {};
}
