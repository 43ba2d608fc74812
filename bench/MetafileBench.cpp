// Playing an enhanced metafile of 100,000 drawing records (rectangles, ellipses, polygons
// and lines in changing colours) into a 4000 x 4000 picture.
#include "image/core/CRaster.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr LONG kSide = 4000;
constexpr int kRecords = 100000;

class Emf {
public:
    void Record(DWORD type, std::initializer_list<LONG> fields) {
        Put(type);
        Put(DWORD(8 + 4 * fields.size()));
        for (LONG f : fields)
            Put(DWORD(f));
        ++count_;
    }
    std::vector<BYTE> Finish() {
        Record(14, {0, 16, 20});
        std::vector<BYTE> head;
        auto put = [&](DWORD v) {
            for (int i = 0; i < 4; ++i)
                head.push_back(BYTE(v >> (8 * i)));
        };
        for (LONG v : {1L, 88L, 0L, 0L, long(kSide), long(kSide), 0L, 0L, 105833L, 105833L})
            put(DWORD(v));
        put(0x464D4520);
        put(0x10000);
        put(DWORD(88 + bytes_.size()));
        put(DWORD(count_ + 1));
        put(16);
        put(0), put(0), put(0);
        for (LONG v : {1920L, 1080L, 508L, 286L})
            put(DWORD(v));
        head.insert(head.end(), bytes_.begin(), bytes_.end());
        return head;
    }

private:
    void Put(DWORD v) {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(BYTE(v >> (8 * i)));
    }
    std::vector<BYTE> bytes_;
    int count_ = 0;
};

const std::vector<BYTE>& Metafile() {
    static const std::vector<BYTE> file = [] {
        Emf e;
        DWORD state = 1;
        auto next = [&](LONG range) {
            state = state * 214013u + 2531011u;
            return LONG((state >> 8) % DWORD(range));
        };
        for (int i = 0; i < kRecords;) {
            const LONG x = next(kSide - 60), y = next(kSide - 60), w = 4 + next(50),
                       h = 4 + next(50);
            switch (i % 8) {
            case 0:
                e.Record(39, {1, 0, LONG(next(0xFFFFFF)), 0}); // solid brush in slot 1
                break;
            case 1:
                e.Record(37, {1});
                break;
            case 2:
            case 5:
                e.Record(43, {x, y, x + w, y + h});
                break;
            case 3:
                e.Record(42, {x, y, x + w, y + h});
                break;
            case 4:
                e.Record(3, {0, 0, 0, 0, 3, x, y, x + w, y, x, y + h});
                break;
            case 6:
                e.Record(27, {x, y});
                break;
            default:
                e.Record(54, {x + w, y + h});
                break;
            }
            ++i;
        }
        return e.Finish();
    }();
    return file;
}

void BM_PlayEmf100kRecords(benchmark::State& state) {
    const std::vector<BYTE>& file = Metafile();
    for (auto _ : state) {
        CRaster image;
        if (!image.DecodeFromMemory(file, CRaster::kTypeWmf))
            state.SkipWithError(image.GetLastError());
        benchmark::DoNotOptimize(image.GetBits(0));
    }
}

} // namespace

BENCHMARK(BM_PlayEmf100kRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
