#include "wave/WaveDocument.h"

namespace wave {

LoadFailure WaveDocument::OpenWave(const std::string& path, WaveStream::Mode mode, ChunkWalk walk) {
    if (file.IsOpen()) file.Close();
    lent_ = false;  // a file opened anew is nobody's loan
    const bool opened = file.Open(path, mode);
    const LoadFailure failure = LoadWaveFile(walk);
    return opened ? failure : LoadFailure::OpenFailed;
}

std::int64_t WaveDocument::LendFile() {
    if (!file.IsOpen()) return -1;
    const std::int64_t position = file.Tell();
    file.Close();
    lent_ = true;
    return position;
}

bool WaveDocument::TakeFileBack(std::int64_t position) {
    if (!lent_) return true;
    // The path and mode of the last open: a read-only file stays read-only.
    if (!file.Open(file.Path(), file.OpenMode())) return false;
    lent_ = false;
    file.Seek(position);
    return true;
}

LoadFailure WaveDocument::LoadWaveFile(ChunkWalk walk) {
    // A load that fails early must not leave the previous file's chunks
    // behind as this one's.
    loaded = LoadedWave{};
    pastRefusal_.reset();
    loadedIdentity_ = file.Identity();
    loadedSize_ = file.Size();
    if (!file.IsOpen()) return LoadFailure::None;
    loaded = walk == ChunkWalk::AnyLayout ? WalkAnyLayout(file) : WalkFixedOrder(file);
    const LoadFailure failure = loaded.failure;
    if (lookPastRefusal && walk == ChunkWalk::FixedOrder && loaded.stoppedAt) {
        if (LoadedWave any = WalkAnyLayout(file); any.failure == LoadFailure::None) pastRefusal_ = std::move(any);
    }
    refusal_ = failure;
    if (!pastRefusal_ && !StreamStaysOpen(failure)) file.Close();
    return failure;
}

std::optional<std::int64_t> WaveDocument::CartPastRefusal() const {
    if (!pastRefusal_) return std::nullopt;
    return pastRefusal_->cartPos;
}

LoadFailure WaveDocument::TakePastRefusal() {
    if (!pastRefusal_) return refusal_;
    loaded = std::move(*pastRefusal_);
    pastRefusal_.reset();
    return LoadFailure::None;
}

void WaveDocument::DeclinePastRefusal() {
    if (!pastRefusal_) return;
    pastRefusal_.reset();
    if (!StreamStaysOpen(refusal_)) file.Close();
}

}  // namespace wave
