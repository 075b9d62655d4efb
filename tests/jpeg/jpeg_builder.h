// Builds small JPEG byte streams by hand for the decoder's tests: marker segments, and entropy-
// coded data written with canonical Huffman codes (T.81 Annex C) and FF 00 stuffing.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace jpeg_test {

using Bytes = std::vector<std::uint8_t>;

struct ComponentSpec {
  int id;
  int h;
  int v;
  int tq;
};

struct ScanComponent {
  int id;
  int td;
  int ta;
};

// A Huffman table as the DHT segment carries it, with the codes it gives.
struct HuffTable {
  std::uint8_t counts[17] = {};  // entries 1..16
  std::vector<std::uint8_t> symbols;
  std::map<int, std::pair<std::uint32_t, int>> codes;  // symbol -> (code, length)

  // Every symbol of the list gets a code of the given length.
  static HuffTable uniform(const std::vector<std::uint8_t>& symbols, int length);
  void assign_codes();
};

// DC table: difference sizes 0..17 (17 lets tests feed an invalid size), all 5 bits long.
HuffTable dc_table();
// AC table: every symbol 0x00..0xFE, all 8 bits long.
HuffTable ac_table();

class EntropyWriter {
 public:
  void bits(std::uint32_t value, int count);
  void symbol(const HuffTable& t, int symbol);
  // A DC difference: its size category, then its extra bits.
  void dc(const HuffTable& t, int diff);
  // A run of zeros followed by a non-zero value (run 0..15).
  void ac(const HuffTable& t, int run, int value);
  void eob(const HuffTable& t) { symbol(t, 0x00); }
  void zrl(const HuffTable& t) { symbol(t, 0xF0); }
  // Pads the last byte with 1-bits and returns the stuffed bytes written so far.
  Bytes finish();

 private:
  void put_byte(std::uint8_t b);
  Bytes out_;
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

int size_of(int value);

class JpegBuilder {
 public:
  JpegBuilder& soi();
  JpegBuilder& eoi();
  JpegBuilder& raw(const Bytes& b);
  JpegBuilder& marker(std::uint8_t code);
  JpegBuilder& segment(std::uint8_t code, const Bytes& payload);  // length computed
  // 8-bit table, all values equal.
  JpegBuilder& dqt(int tq, int value);
  JpegBuilder& dqt_values(int tq, const std::uint16_t zigzag[64], bool sixteen_bit);
  JpegBuilder& dht(int table_class, int th, const HuffTable& t);
  JpegBuilder& dri(int interval);
  JpegBuilder& sof(std::uint8_t marker_code, int width, int height,
                   const std::vector<ComponentSpec>& comps);
  JpegBuilder& sos(const std::vector<ScanComponent>& comps, int ss = 0, int se = 63, int ah = 0,
                   int al = 0);
  const Bytes& bytes() const { return out_; }

 private:
  void u8(int v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void u16(int v) {
    u8(v >> 8);
    u8(v & 0xFF);
  }
  Bytes out_;
};

// A baseline grey image of width x height whose blocks are given DC differences only (every AC
// band a single EOB), with quantisation value q everywhere and tables dc_table/ac_table.
Bytes grey_dc_image(int width, int height, const std::vector<int>& dc_diffs, int q = 1);

// The usual table and frame preamble of a grey baseline image (SOI, DQT, DHT x2, SOF0, SOS).
JpegBuilder grey_preamble(int width, int height, int q = 1);

}  // namespace jpeg_test
