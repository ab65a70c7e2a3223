// The render loop: a source through a plug-in into a sink, block by block,
// followed by a tail of silence so that the plug-in's reverberation is kept.
// Every block is full-sized except perhaps the last.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "frame/aeffect.h"
#include "host/audio/audio_stream.h"
#include "host/loader/block_processor.h"

class Renderer {
public:
    // Answers false to stop the render early; called after every block with the frames done so far.
    using Progress = std::function<bool(std::uint64_t framesDone)>;

    // The plug-in must already be started with this block size (HostedPlugin::start).
    Renderer(AEffect& effect, std::int32_t blockFrames);

    // Renders all of source, then tailFrames of silence, into sink. Answers the
    // frames written, which fall short of the whole only when progress stopped it.
    // Throws std::runtime_error when the plug-in's output is NaN or infinite,
    // before such a block reaches the sink.
    std::uint64_t render(AudioSource& source, std::uint64_t tailFrames, AudioSink& sink,
                         const Progress& progress = nullptr);

private:
    // Fills the input buffers with up to blockFrames frames: the source's, then silence while the tail lasts.
    std::size_t fillBlock(AudioSource& source, std::uint64_t& tailLeft);
    void checkFinite(std::size_t frames, std::uint64_t firstFrame) const;

    std::int32_t blockFrames;
    BlockProcessor processor;
    std::vector<float> inputLeft;
    std::vector<float> inputRight;
    bool sourceDone = false;
};
