#include "app/qt/display_modes.h"

#include <xcb/randr.h>

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace quorvik::qt {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using Owned = std::unique_ptr<Reply, FreeReply>;

// The modes of the RandR output named as Qt names the screen; when no output
// has that name (a virtual server's single screen), those of every connected
// output.
std::vector<app::DisplayMode> randrModes(const QScreen& screen) {
    std::vector<app::DisplayMode> modes;
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return modes;
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (root == nullptr) return modes;
    const Owned<xcb_randr_get_screen_resources_current_reply_t> resources(
        xcb_randr_get_screen_resources_current_reply(
            connection, xcb_randr_get_screen_resources_current(connection, root->root), nullptr));
    if (!resources) return modes;
    const xcb_randr_mode_info_t* infos =
        xcb_randr_get_screen_resources_current_modes(resources.get());
    const int infoCount = xcb_randr_get_screen_resources_current_modes_length(resources.get());
    const xcb_randr_output_t* outputs =
        xcb_randr_get_screen_resources_current_outputs(resources.get());
    const int outputCount = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    const QByteArray wanted = screen.name().toUtf8();
    std::vector<app::DisplayMode> everyOutput;
    for (int i = 0; i < outputCount; ++i) {
        const Owned<xcb_randr_get_output_info_reply_t> output(xcb_randr_get_output_info_reply(
            connection,
            xcb_randr_get_output_info(connection, outputs[i], resources->config_timestamp),
            nullptr));
        if (!output || output->connection != XCB_RANDR_CONNECTION_CONNECTED) continue;
        const QByteArray name(
            reinterpret_cast<const char*>(xcb_randr_get_output_info_name(output.get())),
            xcb_randr_get_output_info_name_length(output.get()));
        const xcb_randr_mode_t* ids = xcb_randr_get_output_info_modes(output.get());
        const int idCount = xcb_randr_get_output_info_modes_length(output.get());
        std::vector<app::DisplayMode>& into = name == wanted ? modes : everyOutput;
        for (int m = 0; m < idCount; ++m) {
            for (int k = 0; k < infoCount; ++k) {
                if (infos[k].id == ids[m]) into.push_back({infos[k].width, infos[k].height});
            }
        }
    }
    if (modes.empty()) modes = std::move(everyOutput);
#else
    (void)screen;
#endif
    return modes;
}

}  // namespace

app::Display displayOf(const QWidget& widget) {
    app::Display display;
    const QScreen* screen = widget.screen();
    if (screen == nullptr) return display;
    // Qt gives the size in its own units; the game counts pixels.
    const double ratio = screen->devicePixelRatio();
    display.current =
        app::DisplayMode{static_cast<int>(std::lround(screen->size().width() * ratio)),
                         static_cast<int>(std::lround(screen->size().height() * ratio))};
    display.modes = randrModes(*screen);
    return display;
}

}  // namespace quorvik::qt
