// The KT20/KT40 link targets: any bytes, in any chunks, through the receive buffer of a window whose
// transfer state is reset for each input.
#ifndef KT2040_LINK_H
#define KT2040_LINK_H

#include <cstddef>
#include <cstdint>

// `type` "KT40" or "KT20_KT40"; `direction` 0 receive, 1 send. Byte 0 of the input picks the data
// kind, the connection mode and, for a send, how many table rows are sent; the rest is chunks.
int fuzz_kt2040_link(const char* type, int direction, const uint8_t* data, size_t size);

#endif // KT2040_LINK_H
