#pragma once
/* The adapter behind the C stand-in's table: the environment-configured simulator, as plain C
 * functions (ForeignTessikAdapter.cpp). */

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

bool ForeignAdapterControl(uint32_t code, void* data, uint32_t size);
bool ForeignAdapterOpen(uint16_t vendorId, uint16_t productId);
bool ForeignAdapterSetTimeout(uint32_t milliseconds);
bool ForeignAdapterWriteReport(const uint8_t* report, uint32_t length);
bool ForeignAdapterReadReport(uint8_t* report, uint32_t length);

#ifdef __cplusplus
}
#endif
