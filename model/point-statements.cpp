#include "model/point-statements.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "model/obj-scanner.h"

namespace obj {
namespace {

// One piece of the run, from a line that starts with "v" up to the next piece's first line.
struct Piece {
    const char* begin = nullptr;
    const char* next = nullptr; // where the following piece begins (the text's end for the last)
    std::vector<vm::Float3> points;
    const char* stop = nullptr; // just after the last whole statement
    bool reachedNext = false;   // the statement after stop is the following piece's first
    std::atomic<bool> done{false};
};

void readPiece(Piece& piece, const char* end) {
    Scanner in(std::string_view(piece.begin, static_cast<size_t>(end - piece.begin)));
    piece.points.reserve(static_cast<size_t>(piece.next - piece.begin) / 8 + 1);
    piece.stop = piece.begin;
    for (;;) {
        const std::string_view w = in.word();
        if (w.data() == piece.next && !w.empty()) {
            piece.reachedNext = true;
            break;
        }
        float xyz[3];
        if (w != "v" || !in.numbers(xyz)) break;
        piece.points.push_back({xyz[0], xyz[1], xyz[2]});
        piece.stop = in.position();
    }
    piece.done.store(true, std::memory_order_release);
}

// The start of the first line at or after at that opens with "v" and a blank, within a
// short look; null when there is none.
const char* lineStartingWithV(const char* at, const char* end) {
    const char* limit = std::min(end, at + 4096);
    for (const char* p = at; p + 2 < limit; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(limit - p)));
        if (!p || p + 2 >= limit) return nullptr;
        if (p[1] == 'v' && (p[2] == ' ' || p[2] == '\t')) return p + 1;
    }
    return nullptr;
}

} // namespace

const char* readPointStatements(std::string_view text, const char* from,
                                std::vector<vm::Float3>& points) {
    const char* end = text.data() + text.size();
    constexpr size_t kPieceBytes = size_t{1} << 20;
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    const size_t bytes = static_cast<size_t>(end - from);
    const size_t pieceCount =
        threads > 1 ? std::clamp<size_t>(bytes / kPieceBytes, 1, 64 * threads) : 1;

    // The pieces' first lines, at even steps through the text.
    std::vector<const char*> starts{from};
    for (size_t k = 1; k < pieceCount; ++k)
        if (const char* s = lineStartingWithV(from + bytes * k / pieceCount, end);
            s && s > starts.back())
            starts.push_back(s);
    std::vector<Piece> pieces(starts.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        pieces[k].begin = starts[k];
        pieces[k].next = k + 1 < starts.size() ? starts[k + 1] : end;
    }

    // Every thread takes the next piece not yet taken; this one also joins the finished
    // pieces to the points in order, so that few are held at a time.
    std::atomic<size_t> nextPiece{0};
    std::atomic<bool> abandon{false}; // a piece ended early: the ones after it are not needed
    auto work = [&] {
        for (size_t k; !abandon.load(std::memory_order_relaxed) &&
                       (k = nextPiece.fetch_add(1)) < pieces.size();)
            readPiece(pieces[k], end);
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
            Piece& piece = pieces[joined++];
            points.insert(points.end(), piece.points.begin(), piece.points.end());
            std::vector<vm::Float3>().swap(piece.points);
            stop = piece.stop;
            if (!piece.reachedNext) {
                ended = true;
                abandon.store(true, std::memory_order_relaxed);
            }
        }
    };
    for (size_t k; !ended && (k = nextPiece.fetch_add(1)) < pieces.size();) {
        readPiece(pieces[k], end);
        joinFinished();
    }
    for (std::thread& helper : helpers)
        helper.join();
    joinFinished();
    return stop;
}

} // namespace obj
