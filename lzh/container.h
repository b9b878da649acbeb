// The layout of a compressed file container: the four magic bytes "!HZL",
// the little-endian signed 32-bit size of the expanded file, then the bit
// stream up to the end of the file. Shared by whoever writes or reads one.
#pragma once

#include <cstdint>

namespace lzh {

// The magic read as one little-endian unsigned 32-bit value.
constexpr std::uint32_t ContainerMagic = 0x4C5A4821;  // "!HZL"
constexpr int ContainerHeaderSize = 8;                // magic + DeclaredSize
// The largest size that a container can announce.
constexpr std::int64_t MaxDeclaredSize = 0x7FFFFFFF;

inline void PutLittleEndian32(std::uint32_t value, std::uint8_t* out) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
  out[2] = static_cast<std::uint8_t>(value >> 16);
  out[3] = static_cast<std::uint8_t>(value >> 24);
}

inline std::uint32_t GetLittleEndian32(const std::uint8_t* in) {
  return static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
         static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
}

// Fills the 8 header bytes for a container that expands to declared_size.
inline void PutContainerHeader(std::int32_t declared_size, std::uint8_t* out) {
  PutLittleEndian32(ContainerMagic, out);
  PutLittleEndian32(static_cast<std::uint32_t>(declared_size), out + 4);
}

// The DeclaredSize field of a header whose magic has been checked.
inline std::int32_t GetDeclaredSize(const std::uint8_t* header) {
  return static_cast<std::int32_t>(GetLittleEndian32(header + 4));
}

}  // namespace lzh
