/* A Tessik.dll whose transport object is laid out as a library built by another compiler lays
 * it out (an adapter's own Tessik.dll, say): a pointer to a table of five functions in the
 * interface's order, each called with __thiscall on 32-bit Windows (the object in ECX, the
 * arguments on the stack, removed by the callee), each answering with a one-byte boolean.
 * Written in C, so that no C++ compiler lays it out for us. The adapter behind the table is the
 * environment-configured simulator, reached through plain C functions.
 *
 * Its answers come back in AL with the other bytes of EAX set, as such a compiler may leave
 * them: a caller that read more than the byte would take every false for true. */

#include <stdbool.h>
#include <stdint.h>

#if defined(__i386__)
#define MEMBER_CALL __attribute__((thiscall))
#else
#define MEMBER_CALL /* the one calling convention of x64 */
#endif

#include "tests/connection/ForeignTessikAdapter.h"

typedef struct ForeignTransport ForeignTransport;

/* A one-byte boolean in the lowest byte; the bytes above it are not part of the answer. */
typedef uint32_t ByteAnswer;

typedef struct {
    ByteAnswer(MEMBER_CALL* control)(ForeignTransport* self, uint32_t code, void* data,
                                     uint32_t size);
    ByteAnswer(MEMBER_CALL* open)(ForeignTransport* self, uint16_t vendorId, uint16_t productId);
    ByteAnswer(MEMBER_CALL* setTimeout)(ForeignTransport* self, uint32_t milliseconds);
    ByteAnswer(MEMBER_CALL* writeReport)(ForeignTransport* self, const uint8_t* report,
                                         uint32_t length);
    ByteAnswer(MEMBER_CALL* readReport)(ForeignTransport* self, uint8_t* report, uint32_t length);
} TransportTable;

struct ForeignTransport {
    const TransportTable* table;
};

static ForeignTransport transport;

/* A call whose object is not ours came through a wrong convention or a wrong table entry. */
static ByteAnswer Answer(const ForeignTransport* self, bool done) {
    return 0xA5A5A500u | (self == &transport && done ? 1u : 0u);
}

static ByteAnswer MEMBER_CALL Control(ForeignTransport* self, uint32_t code, void* data,
                                      uint32_t size) {
    return Answer(self, ForeignAdapterControl(code, data, size));
}

static ByteAnswer MEMBER_CALL Open(ForeignTransport* self, uint16_t vendorId, uint16_t productId) {
    return Answer(self, ForeignAdapterOpen(vendorId, productId));
}

static ByteAnswer MEMBER_CALL SetTimeout(ForeignTransport* self, uint32_t milliseconds) {
    return Answer(self, ForeignAdapterSetTimeout(milliseconds));
}

static ByteAnswer MEMBER_CALL WriteReport(ForeignTransport* self, const uint8_t* report,
                                          uint32_t length) {
    return Answer(self, ForeignAdapterWriteReport(report, length));
}

static ByteAnswer MEMBER_CALL ReadReport(ForeignTransport* self, uint8_t* report, uint32_t length) {
    return Answer(self, ForeignAdapterReadReport(report, length));
}

static const TransportTable table = {Control, Open, SetTimeout, WriteReport, ReadReport};

__declspec(dllexport) ForeignTransport* GetUsbHidObj(void) {
    transport.table = &table;
    return &transport;
}
