// Where the view's random draws come from: the drift, the position and the
// bounce jitter. The saver draws from the runtime's generator; tests script
// the draws, so that every rule about them can be checked exactly.
#pragma once

namespace lumetra {

class IRandomSource {
public:
    virtual ~IRandomSource() = default;
    // A non-negative int, as std::rand() gives one (0 to RAND_MAX).
    virtual int Draw() = 0;

protected:
    IRandomSource() = default;
    IRandomSource(const IRandomSource&) = default;
    IRandomSource& operator=(const IRandomSource&) = default;
};

// The runtime library's rand(). Its generator is process-wide: the object
// holds nothing, and seeding it is up to the view's owner.
class CRuntimeRandom final : public IRandomSource {
public:
    // Seeds the process-wide generator with the current time in seconds.
    static void SeedWithTime();
    int Draw() override;
};

}  // namespace lumetra
