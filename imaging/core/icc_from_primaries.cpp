#include "imaging/core/icc_from_primaries.h"

#include <cmath>
#include <string>

namespace fernwick {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutTag(std::vector<uint8_t>& out, const char* type) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(type[i]));
}
void PutFixed(std::vector<uint8_t>& out, double v) {
  Put32(out, static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 65536))));
}

// The parametric curve (ICC's 'para') that undoes the transfer: from the encoded value to light.
std::optional<std::vector<double>> CurveFor(uint16_t transfer) {
  switch (transfer) {
    case 1:  // BT.709 and its kin
    case 6:
    case 14:
    case 15:
      return std::vector<double>{1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
    case 2:
    case 13:  // sRGB
      return std::vector<double>{2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    case 4:
      return std::vector<double>{2.2};
    case 5:
      return std::vector<double>{2.8};
    case 8:
      return std::vector<double>{1.0};
    default:
      return std::nullopt;
  }
}

std::vector<uint8_t> Xyz(double x, double y, double z) {
  std::vector<uint8_t> tag;
  PutTag(tag, "XYZ ");
  Put32(tag, 0);
  for (double v : {x, y, z}) PutFixed(tag, v);
  return tag;
}

std::vector<uint8_t> Text(std::string_view text) {
  std::vector<uint8_t> tag;
  PutTag(tag, "mluc");
  Put32(tag, 0);
  Put32(tag, 1);   // one record
  Put32(tag, 12);  // of 12 bytes
  PutTag(tag, "enUS");
  Put32(tag, static_cast<uint32_t>(text.size() * 2));
  Put32(tag, 28);
  for (char c : text) tag.push_back(0), tag.push_back(static_cast<uint8_t>(c));
  return tag;
}

}  // namespace

std::optional<std::vector<uint8_t>> IccProfileForPrimaries(const Chromaticities& space, uint16_t transfer,
                                                           std::string_view name) {
  const std::optional<std::vector<double>> curve = CurveFor(transfer);
  const std::optional<Matrix3> toXyz = RgbToXyz(space);
  const std::optional<Matrix3> adapt = AdaptationToD50(space.whiteX, space.whiteY);
  if (!curve || !toXyz || !adapt) return std::nullopt;
  const Matrix3 colorants = Product(*adapt, *toXyz);

  std::vector<uint8_t> para;
  PutTag(para, "para");
  Put32(para, 0);
  Put32(para, curve->size() == 1 ? 0u : 3u << 16);  // function type, then two reserved bytes
  for (double v : *curve) PutFixed(para, v);
  std::vector<uint8_t> chad;
  PutTag(chad, "sf32");
  Put32(chad, 0);
  for (const auto& row : *adapt) {
    for (double v : row) PutFixed(chad, v);
  }
  // The three curves share one body, as the format allows.
  const struct {
    const char* signature;
    std::vector<uint8_t> body;
  } tags[] = {
      {"desc", Text(name)},
      {"cprt", Text("No copyright, use freely")},
      {"wtpt", Xyz(0.9642, 1.0, 0.8249)},
      {"chad", chad},
      {"rXYZ", Xyz(colorants[0][0], colorants[1][0], colorants[2][0])},
      {"gXYZ", Xyz(colorants[0][1], colorants[1][1], colorants[2][1])},
      {"bXYZ", Xyz(colorants[0][2], colorants[1][2], colorants[2][2])},
      {"rTRC", para},
      {"gTRC", {}},
      {"bTRC", {}},
  };
  constexpr size_t kHeader = 128;
  const size_t count = std::size(tags);
  std::vector<uint8_t> table, bodies;
  size_t at = kHeader + 4 + count * 12;
  size_t curveAt = 0;
  for (const auto& tag : tags) {
    const bool shared = tag.body.empty();
    PutTag(table, tag.signature);
    Put32(table, static_cast<uint32_t>(shared ? curveAt : at));
    Put32(table, static_cast<uint32_t>(shared ? para.size() : tag.body.size()));
    if (shared) continue;
    if (std::string_view(tag.signature, 4) == "rTRC") curveAt = at;
    bodies.insert(bodies.end(), tag.body.begin(), tag.body.end());
    at += tag.body.size();
    while (at % 4 != 0) bodies.push_back(0), ++at;  // each tag starts on a 4-byte boundary
  }

  std::vector<uint8_t> profile;
  Put32(profile, static_cast<uint32_t>(at));
  Put32(profile, 0);           // no preferred CMM
  Put32(profile, 0x04300000);  // version 4.3
  PutTag(profile, "mntr");
  PutTag(profile, "RGB ");
  PutTag(profile, "XYZ ");
  for (uint16_t v : {2026, 1, 1, 0, 0, 0})
    profile.push_back(static_cast<uint8_t>(v >> 8)), profile.push_back(static_cast<uint8_t>(v));
  PutTag(profile, "acsp");
  profile.resize(64, 0);  // platform, flags, maker, model, attributes
  Put32(profile, 0);      // perceptual
  for (double v : {0.9642, 1.0, 0.8249}) PutFixed(profile, v);
  profile.resize(kHeader, 0);  // creator, profile ID (not computed), reserved
  Put32(profile, static_cast<uint32_t>(count));
  profile.insert(profile.end(), table.begin(), table.end());
  profile.insert(profile.end(), bodies.begin(), bodies.end());
  return profile;
}

}  // namespace fernwick
