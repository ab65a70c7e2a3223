// The editor in a host window of ours, read back through its device context:
// natively through our window layer (the plug-in's copy drawing into ours over
// the window bridge), cross-built under Wine through real USER32 and GDI.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "host/cli/command_error.h"
#include "host/editor_window/editor_host_window.h"
#include "host/editor_window/png_file.h"
#include "host/loader/hosted_plugin.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb& other) const { return red == other.red && green == other.green && blue == other.blue; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// The palette the face's bitmaps are drawn in.
constexpr Rgb kField{5, 23, 132};
constexpr Rgb kLavender{203, 205, 231};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kToggleOn{40, 224, 64};
constexpr Rgb kToggleOff{0, 92, 32};
constexpr Rgb kCreditsSlate{64, 80, 140};

// Where the About button shows the credits picture.
constexpr int kPictureLeft = 88, kPictureTop = 150, kPictureRight = 388, kPictureBottom = 300;

Rgb pixel(const RgbaImage& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 4;
    return {image.bytes[at], image.bytes[at + 1], image.bytes[at + 2]};
}

bool insidePicture(int x, int y) {
    return x >= kPictureLeft && x < kPictureRight && y >= kPictureTop && y < kPictureBottom;
}

std::unique_ptr<HostedPlugin> loadRoomplate() {
    std::string error;
    auto plugin = HostedPlugin::load(ROOMPLATE_PLUGIN_FILE, error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

void setParameter(HostedPlugin& plugin, std::int32_t index, float value) {
    plugin.effect()->setParameter(plugin.effect(), index, value);
}

TEST(EditorSnapshot, ShowsTheFaceInTheEditorsSize) {
    auto plugin = loadRoomplate();
    ASSERT_TRUE(plugin);
    setParameter(*plugin, 55, 1.0f);  // Tank on
    setParameter(*plugin, 54, 0.0f);  // Early Reflections off
    EditorHostWindow host(*plugin);
    host.settle();
    const RgbaImage face = host.capture();
    ASSERT_EQ(512, face.width);
    ASSERT_EQ(512, face.height);

    struct Probe {
        int x, y;
        Rgb expected;
        const char* where;
    };
    const Probe probes[] = {
        {2, 2, kField, "the field, top left"},
        {96, 300, kField, "the field between the panels"},
        {10, 60, kLavender, "the Early panel"},
        {341, 451, kLavender, "the WetOutput knob's corner, the panel behind its body"},
        {337, 475, kBlack, "the WetOutput display box"},
        {21, 99, kBlack, "the RoomLength display box"},
        {397, 91, kBlack, "the first Left tap's display box"},
        {400, 420, kToggleOn, "the Tank switch, on"},
        {400, 384, kToggleOff, "the Early Reflections switch, off"},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(probe.expected, pixel(face, probe.x, probe.y)) << probe.where << " at " << probe.x << ", " << probe.y;
    const Rgb knobCentre = pixel(face, 352, 462);
    EXPECT_LT(knobCentre.red + knobCentre.green + knobCentre.blue, 300) << "the WetOutput knob's dark body";
}

TEST(EditorSnapshot, AboutShowsTheCreditsUntilClickedAgain) {
    auto plugin = loadRoomplate();
    ASSERT_TRUE(plugin);
    EditorHostWindow host(*plugin);
    host.settle();
    const RgbaImage face = host.capture();
    host.click(483, 14);
    host.settle();
    const RgbaImage credits = host.capture();
    host.click(200, 200);  // anywhere on the picture closes it
    host.settle();
    const RgbaImage faceAgain = host.capture();

    int changedInside = 0;
    int changedOutside = 0;
    int differentAfterClosing = 0;
    for (int y = 0; y < face.height; ++y) {
        for (int x = 0; x < face.width; ++x) {
            const bool changed = !(pixel(face, x, y) == pixel(credits, x, y));
            (insidePicture(x, y) ? changedInside : changedOutside) += changed;
            differentAfterClosing += !(pixel(face, x, y) == pixel(faceAgain, x, y));
        }
    }
    const int pictureArea = (kPictureRight - kPictureLeft) * (kPictureBottom - kPictureTop);
    EXPECT_GT(changedInside, pictureArea / 2);
    EXPECT_EQ(0, changedOutside);
    EXPECT_EQ(kCreditsSlate, pixel(credits, 120, 280));
    EXPECT_EQ(0, differentAfterClosing);
    const auto& automation = plugin->automationEvents();
    ASSERT_EQ(2u, automation.size());
    EXPECT_EQ(57, automation[0].index);
    EXPECT_EQ(1.0f, automation[0].value);
    EXPECT_EQ(0.0f, automation[1].value);
}

TEST(EditorSnapshot, APluginWithoutEditorIsRefused) {
    std::string error;
    auto plugin = HostedPlugin::load(ECHO_PLUGIN_FILE, error);
    ASSERT_TRUE(plugin) << error;
    EXPECT_THROW(EditorHostWindow host(*plugin), CommandError);
}

TEST(EditorSnapshot, PngHoldsThePixels) {
    RgbaImage image;
    image.width = 3;
    image.height = 2;
    image.bytes = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 5, 23, 132, 255, 203, 205, 231, 255, 0, 0, 0, 255};
    const std::string path = "snapshot_test_roundtrip.png";
    writePng(image, path);
    int width = 0, height = 0, channels = 0;
    stbi_uc* read = stbi_load(path.c_str(), &width, &height, &channels, 4);
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(3, width);
    EXPECT_EQ(2, height);
    EXPECT_EQ(image.bytes, std::vector<std::uint8_t>(read, read + image.bytes.size()));
    stbi_image_free(read);
    std::remove(path.c_str());
}

}  // namespace
