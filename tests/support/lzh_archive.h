// LZH archives for the independent decoder: Debian's lhasa decodes method -lh1-, whose
// coding is the stored streams' bit stream (same ring, tree, rebuild and distance code).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// CRC-16 of LZH archives (polynomial 0x8005 reflected, initial value 0).
uint16_t LhaCrc16(const uint8_t *data, size_t size);

// A level-0 archive holding one -lh1- member: bits is the bit stream without the stored
// stream's size field; original is what it decodes to (its size and CRC-16 go into the
// header, and lhasa checks the CRC).
std::vector<uint8_t> Lh1Archive(const std::string &name, const uint8_t *bits, size_t bitsSize,
                                const std::vector<uint8_t> &original);

// Extracts the member of archive with lhasa into a scratch folder and returns its bytes.
// False with lhasa's complaint (or why it could not run) in *error.
bool ExtractWithLhasa(const std::vector<uint8_t> &archive, const std::string &name,
                      std::vector<uint8_t> *member, std::string *error);
