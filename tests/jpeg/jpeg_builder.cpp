// Hand-built JPEG streams for the decoder's tests.
#include "jpeg_builder.h"

#include <cstdlib>

namespace jpeg_test {

HuffTable HuffTable::uniform(const std::vector<std::uint8_t>& symbols, int length) {
  HuffTable t;
  t.counts[length] = static_cast<std::uint8_t>(symbols.size());
  t.symbols = symbols;
  t.assign_codes();
  return t;
}

void HuffTable::assign_codes() {
  codes.clear();
  std::uint32_t code = 0;
  std::size_t k = 0;
  for (int len = 1; len <= 16; ++len) {
    for (int i = 0; i < counts[len]; ++i, ++k, ++code) codes[symbols[k]] = {code, len};
    code <<= 1;
  }
}

HuffTable dc_table() {
  std::vector<std::uint8_t> s;
  for (int i = 0; i <= 17; ++i) s.push_back(static_cast<std::uint8_t>(i));
  return HuffTable::uniform(s, 5);
}

HuffTable ac_table() {
  std::vector<std::uint8_t> s;
  for (int i = 0; i <= 0xFE; ++i) s.push_back(static_cast<std::uint8_t>(i));
  return HuffTable::uniform(s, 8);
}

int size_of(int value) {
  int a = std::abs(value);
  int s = 0;
  while (a != 0) {
    ++s;
    a >>= 1;
  }
  return s;
}

void EntropyWriter::put_byte(std::uint8_t b) {
  out_.push_back(b);
  if (b == 0xFF) out_.push_back(0x00);
}

void EntropyWriter::bits(std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    acc_ = (acc_ << 1) | ((value >> i) & 1u);
    if (++count_ == 8) {
      put_byte(static_cast<std::uint8_t>(acc_));
      acc_ = 0;
      count_ = 0;
    }
  }
}

void EntropyWriter::symbol(const HuffTable& t, int s) {
  const auto& c = t.codes.at(s);
  bits(c.first, c.second);
}

void EntropyWriter::dc(const HuffTable& t, int diff) {
  const int s = size_of(diff);
  symbol(t, s);
  if (s != 0) bits(static_cast<std::uint32_t>(diff < 0 ? diff + (1 << s) - 1 : diff), s);
}

void EntropyWriter::ac(const HuffTable& t, int run, int value) {
  const int s = size_of(value);
  symbol(t, (run << 4) | s);
  bits(static_cast<std::uint32_t>(value < 0 ? value + (1 << s) - 1 : value), s);
}

Bytes EntropyWriter::finish() {
  if (count_ != 0) bits(0xFF, 8 - count_);
  Bytes b = out_;
  out_.clear();
  return b;
}

JpegBuilder& JpegBuilder::soi() {
  u8(0xFF);
  u8(0xD8);
  return *this;
}

JpegBuilder& JpegBuilder::eoi() {
  u8(0xFF);
  u8(0xD9);
  return *this;
}

JpegBuilder& JpegBuilder::raw(const Bytes& b) {
  out_.insert(out_.end(), b.begin(), b.end());
  return *this;
}

JpegBuilder& JpegBuilder::marker(std::uint8_t code) {
  u8(0xFF);
  u8(code);
  return *this;
}

JpegBuilder& JpegBuilder::segment(std::uint8_t code, const Bytes& payload) {
  marker(code);
  u16(static_cast<int>(payload.size()) + 2);
  return raw(payload);
}

JpegBuilder& JpegBuilder::dqt(int tq, int value) {
  Bytes p{static_cast<std::uint8_t>(tq)};
  for (int i = 0; i < 64; ++i) p.push_back(static_cast<std::uint8_t>(value));
  return segment(0xDB, p);
}

JpegBuilder& JpegBuilder::dqt_values(int tq, const std::uint16_t zigzag[64], bool sixteen_bit) {
  Bytes p{static_cast<std::uint8_t>((sixteen_bit ? 0x10 : 0) | tq)};
  for (int i = 0; i < 64; ++i) {
    if (sixteen_bit) p.push_back(static_cast<std::uint8_t>(zigzag[i] >> 8));
    p.push_back(static_cast<std::uint8_t>(zigzag[i] & 0xFF));
  }
  return segment(0xDB, p);
}

JpegBuilder& JpegBuilder::dht(int table_class, int th, const HuffTable& t) {
  Bytes p{static_cast<std::uint8_t>((table_class << 4) | th)};
  for (int l = 1; l <= 16; ++l) p.push_back(t.counts[l]);
  p.insert(p.end(), t.symbols.begin(), t.symbols.end());
  return segment(0xC4, p);
}

JpegBuilder& JpegBuilder::dri(int interval) {
  return segment(
      0xDD, {static_cast<std::uint8_t>(interval >> 8), static_cast<std::uint8_t>(interval & 0xFF)});
}

JpegBuilder& JpegBuilder::sof(std::uint8_t marker_code, int width, int height,
                              const std::vector<ComponentSpec>& comps) {
  Bytes p{8,
          static_cast<std::uint8_t>(height >> 8),
          static_cast<std::uint8_t>(height & 0xFF),
          static_cast<std::uint8_t>(width >> 8),
          static_cast<std::uint8_t>(width & 0xFF),
          static_cast<std::uint8_t>(comps.size())};
  for (const ComponentSpec& c : comps) {
    p.push_back(static_cast<std::uint8_t>(c.id));
    p.push_back(static_cast<std::uint8_t>((c.h << 4) | c.v));
    p.push_back(static_cast<std::uint8_t>(c.tq));
  }
  return segment(marker_code, p);
}

JpegBuilder& JpegBuilder::sos(const std::vector<ScanComponent>& comps, int ss, int se, int ah,
                              int al) {
  Bytes p{static_cast<std::uint8_t>(comps.size())};
  for (const ScanComponent& c : comps) {
    p.push_back(static_cast<std::uint8_t>(c.id));
    p.push_back(static_cast<std::uint8_t>((c.td << 4) | c.ta));
  }
  p.push_back(static_cast<std::uint8_t>(ss));
  p.push_back(static_cast<std::uint8_t>(se));
  p.push_back(static_cast<std::uint8_t>((ah << 4) | al));
  return segment(0xDA, p);
}

JpegBuilder grey_preamble(int width, int height, int q) {
  JpegBuilder b;
  b.soi().dqt(0, q).dht(0, 0, dc_table()).dht(1, 0, ac_table());
  b.sof(0xC0, width, height, {{1, 1, 1, 0}}).sos({{1, 0, 0}});
  return b;
}

Bytes grey_dc_image(int width, int height, const std::vector<int>& dc_diffs, int q) {
  JpegBuilder b = grey_preamble(width, height, q);
  const HuffTable dc = dc_table();
  const HuffTable ac = ac_table();
  EntropyWriter w;
  for (int diff : dc_diffs) {
    w.dc(dc, diff);
    w.eob(ac);
  }
  b.raw(w.finish()).eoi();
  return b.bytes();
}

}  // namespace jpeg_test
