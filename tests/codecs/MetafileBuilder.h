#pragma once
#include "Bytes.h"

#include <string>
#include <vector>

// Builds metafiles record by record for the tests: placeable Windows metafiles and enhanced
// metafiles, little-endian field by field.
class WmfBuilder {
public:
    // A record of the function with 16-bit parameter words.
    WmfBuilder& Record(unsigned function, const std::vector<int>& words) {
        records_.u32(DWORD(3 + words.size())).u16(function);
        for (int w : words)
            records_.u16(unsigned(w) & 0xFFFF);
        ++count_;
        return *this;
    }
    // A record whose parameters are raw bytes (padded to whole words).
    WmfBuilder& Raw(unsigned function, Bytes params) {
        if (params.size() % 2)
            params.u8(0);
        records_.u32(DWORD(3 + params.size() / 2)).u16(function).append(params.data());
        ++count_;
        return *this;
    }
    WmfBuilder& Pen(int style, int width, COLORREF colour) {
        return Record(0x02FA, {style, width, 0, int(colour & 0xFFFF), int(colour >> 16)});
    }
    WmfBuilder& Brush(int style, COLORREF colour, int hatch = 0) {
        return Record(0x02FC, {style, int(colour & 0xFFFF), int(colour >> 16), hatch});
    }
    WmfBuilder& Select(int index) { return Record(0x012D, {index}); }
    WmfBuilder& Rectangle(int l, int t, int r, int b) { return Record(0x041B, {b, r, t, l}); }
    WmfBuilder& Ellipse(int l, int t, int r, int b) { return Record(0x0418, {b, r, t, l}); }
    WmfBuilder& WindowOrg(int x, int y) { return Record(0x020B, {y, x}); }
    WmfBuilder& WindowExt(int cx, int cy) { return Record(0x020C, {cy, cx}); }
    WmfBuilder& Polygon(const std::vector<int>& xy) {
        std::vector<int> w{int(xy.size() / 2)};
        w.insert(w.end(), xy.begin(), xy.end());
        return Record(0x0324, w);
    }

    // The placeable file: box in metafile units, units per inch and object slots.
    std::vector<BYTE> Finish(int left, int top, int right, int bottom, int unitsPerInch,
                             int objects = 16, bool goodChecksum = true) const {
        Bytes head;
        head.u32(0x9AC6CDD7).u16(0).u16(unsigned(left)).u16(unsigned(top)).u16(unsigned(right));
        head.u16(unsigned(bottom)).u16(unsigned(unitsPerInch)).u32(0);
        unsigned sum = 0;
        for (std::size_t i = 0; i < 20; i += 2)
            sum ^= head.data()[i] | (head.data()[i + 1] << 8);
        head.u16(goodChecksum ? sum : sum ^ 1);
        const DWORD words = DWORD(9 + records_.size() / 2 + 3);
        head.u16(1).u16(9).u16(0x0300).u32(words).u16(unsigned(objects)).u32(64).u16(0);
        head.append(records_.data());
        head.u32(3).u16(0); // end of file
        return head.data();
    }

private:
    Bytes records_;
    int count_ = 0;
};

class EmfBuilder {
public:
    EmfBuilder& Record(DWORD type, const std::vector<LONG>& fields) {
        records_.u32(type).u32(DWORD(8 + 4 * fields.size()));
        for (LONG f : fields)
            records_.i32(f);
        ++count_;
        return *this;
    }
    // A record with raw parameter bytes (padded to a multiple of four).
    EmfBuilder& Raw(DWORD type, Bytes params) {
        while (params.size() % 4)
            params.u8(0);
        records_.u32(type).u32(DWORD(8 + params.size())).append(params.data());
        ++count_;
        return *this;
    }
    EmfBuilder& Pen(DWORD index, int style, int width, COLORREF colour) {
        return Record(38, {LONG(index), style, width, 0, LONG(colour)});
    }
    EmfBuilder& Brush(DWORD index, int style, COLORREF colour, int hatch = 0) {
        return Record(39, {LONG(index), style, LONG(colour), hatch});
    }
    EmfBuilder& Select(DWORD index) { return Record(37, {LONG(index)}); }
    EmfBuilder& Rectangle(LONG l, LONG t, LONG r, LONG b) { return Record(43, {l, t, r, b}); }
    EmfBuilder& Ellipse(LONG l, LONG t, LONG r, LONG b) { return Record(42, {l, t, r, b}); }
    // POLYGON (3) / POLYLINE (4) / POLYBEZIER (2) with 32-bit points.
    EmfBuilder& Poly(DWORD type, const std::vector<LONG>& xy) {
        std::vector<LONG> f{0, 0, 0, 0, LONG(xy.size() / 2)};
        f.insert(f.end(), xy.begin(), xy.end());
        return Record(type, f);
    }
    std::size_t Count() const { return count_; }

    // The file: bounds in reference pixels; the reference device is 96 dots per inch.
    std::vector<BYTE> Finish(LONG left, LONG top, LONG right, LONG bottom, int handles = 16) const {
        Bytes f;
        const DWORD total = DWORD(88 + records_.size() + 20);
        f.u32(1).u32(88).i32(left).i32(top).i32(right).i32(bottom);
        f.i32(0).i32(0).i32(LONG(right * 2540 / 96)).i32(LONG(bottom * 2540 / 96)); // frame
        f.u32(0x464D4520).u32(0x10000).u32(total).u32(DWORD(count_ + 2)).u16(unsigned(handles));
        f.u16(0).u32(0).u32(0).u32(0);
        f.i32(1920).i32(1080).i32(508).i32(286); // 1920 x 1080 pixels, about 96 per inch
        f.append(records_.data());
        f.u32(14).u32(20).u32(0).u32(16).u32(20);
        return f.data();
    }

private:
    Bytes records_;
    std::size_t count_ = 0;
};
