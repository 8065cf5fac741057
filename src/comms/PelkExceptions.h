#pragma once
// The link's errors. Every failure on the link to the interface unit is one of
// these, so callers can tell a link problem from any other error, and a user
// break from the rest. Each carries a fixed message beginning "Mestra link: ",
// and constructing one writes that message to the trace file at once, whether
// or not it is caught later.
#include "base/Exception.h"

namespace Pelk {

class EPelkException : public Quorvel1::Exception {
public:
    explicit EPelkException(const QString& message);
};

// The abort flag is set (Cancel, disconnect) at a transfer or delay.
class EPelkUserAbort : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: User abort";
    EPelkUserAbort() : EPelkException(Text) {}
};

// A serial read or write ended with no byte, or no acknowledgement came in time.
class EPelkTimeout : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: Read/Write timeout";
    EPelkTimeout() : EPelkException(Text) {}
};

// The link could not be resynchronised.
class EPelkResetFail : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: Link reset failure";
    EPelkResetFail() : EPelkException(Text) {}
};

// A break was requested and a new request was about to start.
class EPelkUserBreak : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: User break";
    EPelkUserBreak() : EPelkException(Text) {}
};

// A reply checksum did not match.
class EPelkChkSum : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: Message checksum error";
    EPelkChkSum() : EPelkException(Text) {}
};

// A read or write failed more often than allowed, or LAN access is not available.
class EPelkOpFailure : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: Read/write op failure";
    EPelkOpFailure() : EPelkException(Text) {}
};

// A LAN message was not taken or not answered in time.
class EPelkLANTimeout : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: LAN op timeout";
    EPelkLANTimeout() : EPelkException(Text) {}
};

// A LAN reply did not match its request.
class EPelkLANMsg : public EPelkException {
public:
    static constexpr const char* Text = "Mestra link: LAN message failure";
    EPelkLANMsg() : EPelkException(Text) {}
};

} // namespace Pelk
