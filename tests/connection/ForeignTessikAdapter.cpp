#include "tests/connection/ForeignTessikAdapter.h"

#include "tessik/EnvironmentSimulator.h"

bool ForeignAdapterControl(uint32_t code, void* data, uint32_t size) {
    return EnvironmentSimulator().Control(code, data, size);
}

bool ForeignAdapterOpen(uint16_t vendorId, uint16_t productId) {
    return EnvironmentSimulator().Open(vendorId, productId);
}

bool ForeignAdapterSetTimeout(uint32_t milliseconds) {
    return EnvironmentSimulator().SetTimeout(milliseconds);
}

bool ForeignAdapterWriteReport(const uint8_t* report, uint32_t length) {
    return EnvironmentSimulator().WriteReport(report, length);
}

bool ForeignAdapterReadReport(uint8_t* report, uint32_t length) {
    return EnvironmentSimulator().ReadReport(report, length);
}
