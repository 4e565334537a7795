#include "engine/extraction.h"

#include "payload_checksum.h"

uint32_t expectedPayloadCrc = VORQ_PAYLOAD_CRC;
