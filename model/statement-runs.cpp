#include "model/statement-runs.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "model/obj-scanner.h"

namespace obj {
namespace {

// One piece of a run, from a line that starts with the run's word up to the next piece's
// first line.
template <class Item> struct Piece {
    const char* begin = nullptr;
    const char* next = nullptr; // where the following piece begins (the text's end for the last)
    std::vector<Item> items;
    const char* stop = nullptr; // just after the last whole statement
    bool reachedNext = false;   // the statement after stop is the following piece's first
    std::atomic<bool> done{false};
};

// A "v" statement after its word: false when a number does not parse.
struct PointStatement {
    static constexpr std::string_view kWord = "v";
    static constexpr size_t kShortest = 8; // "v 0 0 0\n"
    static bool read(Scanner& in, std::vector<vm::Float3>& out) {
        float xyz[3];
        if (!in.numbers(xyz)) return false;
        out.push_back({xyz[0], xyz[1], xyz[2]});
        return true;
    }
    // Nothing follows a point statement.
    static void after(Scanner&) {}
};

struct SurfaceStatement {
    static constexpr std::string_view kWord = "surf";
    static constexpr size_t kShortest = 44;
    static bool read(Scanner& in, std::vector<Model::Patch>& out) {
        for (int i = 0; i < 4; ++i)
            in.word(); // the parameter range, whatever it says
        int32_t indices[16];
        if (!in.numbers(indices)) return false;
        Model::Patch patch;
        std::copy(std::begin(indices), std::end(indices), patch.indices.begin());
        out.push_back(patch);
        return true;
    }
    // An "end" after a patch belongs to it.
    static void after(Scanner& in) {
        const char* before = in.position();
        if (in.word() != "end") in.seek(before);
    }
};

// Reads statements from begin while they are the run's, up to limit (a statement starting
// there is left, and reachedNext says so).
template <class Statement, class Item>
void readStatements(Scanner& in, const char* limit, std::vector<Item>& items, const char*& stop,
                    bool& reachedNext) {
    for (;;) {
        const std::string_view w = in.word();
        if (w.data() == limit && !w.empty()) {
            reachedNext = true;
            return;
        }
        if (w != Statement::kWord || !Statement::read(in, items)) return;
        Statement::after(in);
        stop = in.position();
    }
}

template <class Statement, class Item> void readPiece(Piece<Item>& piece, const char* end) {
    Scanner in(std::string_view(piece.begin, static_cast<size_t>(end - piece.begin)));
    piece.items.reserve(static_cast<size_t>(piece.next - piece.begin) / Statement::kShortest + 1);
    piece.stop = piece.begin;
    readStatements<Statement>(in, piece.next, piece.items, piece.stop, piece.reachedNext);
    piece.done.store(true, std::memory_order_release);
}

// The start of the first line at or after at that opens with word and a blank, within a
// short look; null when there is none.
const char* lineStartingWith(std::string_view word, const char* at, const char* end) {
    const char* limit = std::min(end, at + 4096);
    for (const char* p = at; p + word.size() + 1 < limit; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(limit - p)));
        if (!p || p + word.size() + 1 >= limit) return nullptr;
        const char after = p[1 + word.size()];
        if (std::string_view(p + 1, word.size()) == word && (after == ' ' || after == '\t'))
            return p + 1;
    }
    return nullptr;
}

std::atomic<size_t> pieceBytesSetting{kDefaultPieceBytes};

template <class Statement, class Item>
const char* readRun(std::string_view text, const char* from, std::vector<Item>& items) {
    const char* end = text.data() + text.size();
    const size_t kPieceBytes = pieceBytesSetting.load(std::memory_order_relaxed);
    // The first stretch alone, read here: a short run (a few plain patches between grouped
    // ones) never starts a thread. Without pieces it is the whole run.
    {
        const char* limit = kPieceBytes == 0
                                ? nullptr
                                : lineStartingWith(Statement::kWord,
                                                   static_cast<size_t>(end - from) > kPieceBytes
                                                       ? from + kPieceBytes
                                                       : end,
                                                   end);
        Scanner in(std::string_view(from, static_cast<size_t>(end - from)));
        const char* stop = from;
        bool reachedLimit = false;
        readStatements<Statement>(in, limit ? limit : end, items, stop, reachedLimit);
        if (!reachedLimit) return stop;
        from = limit;
    }
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    const size_t bytes = static_cast<size_t>(end - from);
    const size_t pieceCount =
        threads > 1 ? std::clamp<size_t>(bytes / kPieceBytes, 1, 64 * threads) : 1;

    // The pieces' first lines, at even steps through the text.
    std::vector<const char*> starts{from};
    for (size_t k = 1; k < pieceCount; ++k)
        if (const char* s = lineStartingWith(Statement::kWord, from + bytes * k / pieceCount, end);
            s && s > starts.back())
            starts.push_back(s);
    std::vector<Piece<Item>> pieces(starts.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        pieces[k].begin = starts[k];
        pieces[k].next = k + 1 < starts.size() ? starts[k + 1] : end;
    }

    // Every thread takes the next piece not yet taken; this one also joins the finished
    // pieces to the items in order, so that few are held at a time.
    std::atomic<size_t> nextPiece{0};
    std::atomic<bool> abandon{false}; // a piece ended early: the ones after it are not needed
    auto work = [&] {
        for (size_t k; !abandon.load(std::memory_order_relaxed) &&
                       (k = nextPiece.fetch_add(1)) < pieces.size();)
            readPiece<Statement>(pieces[k], end);
    };
    std::vector<std::thread> helpers;
    if (pieces.size() > 1)
        for (size_t t = 1; t < threads; ++t)
            helpers.emplace_back(work);

    const char* stop = from;
    size_t joined = 0;
    bool ended = false;
    auto joinFinished = [&] {
        while (!ended && joined < pieces.size() &&
               pieces[joined].done.load(std::memory_order_acquire)) {
            Piece<Item>& piece = pieces[joined++];
            items.insert(items.end(), piece.items.begin(), piece.items.end());
            std::vector<Item>().swap(piece.items);
            stop = piece.stop;
            if (!piece.reachedNext) {
                ended = true;
                abandon.store(true, std::memory_order_relaxed);
            }
        }
    };
    for (size_t k; !ended && (k = nextPiece.fetch_add(1)) < pieces.size();) {
        readPiece<Statement>(pieces[k], end);
        joinFinished();
    }
    for (std::thread& helper : helpers)
        helper.join();
    joinFinished();
    return stop;
}

} // namespace

void setPieceBytes(size_t bytes) {
    pieceBytesSetting.store(bytes, std::memory_order_relaxed);
}

const char* readPointStatements(std::string_view text, const char* from,
                                std::vector<vm::Float3>& points) {
    return readRun<PointStatement>(text, from, points);
}

const char* readPlainSurfaces(std::string_view text, const char* from,
                              std::vector<Model::Patch>& patches) {
    return readRun<SurfaceStatement>(text, from, patches);
}

} // namespace obj
