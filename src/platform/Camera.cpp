#include "platform/Camera.h"

// The one file that speaks GStreamer.
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <QTimer>
#include <atomic>
#include <cstring>
#include <mutex>

namespace ms {

namespace {

constexpr int kBusPollMs = 100;

bool initialised(QString& problem) {
    static std::once_flag once;
    static QString failure;
    std::call_once(once, [] {
        GError* error = nullptr;
        if (!gst_init_check(nullptr, nullptr, &error)) {
            failure = QString::fromUtf8(error ? error->message : "gst_init");
            g_clear_error(&error);
        }
    });
    problem = failure;
    return failure.isEmpty();
}

QString text(GError* error) {
    const QString s = QString::fromUtf8(error ? error->message : "");
    g_clear_error(&error);
    return s;
}

// The first error waiting on the bus, or "".
QString busError(GstBus* bus, bool* negotiation = nullptr) {
    GstMessage* m = gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS));
    if (!m) return {};
    QString out = QStringLiteral("画面结束");
    if (GST_MESSAGE_TYPE(m) == GST_MESSAGE_ERROR) {
        GError* error = nullptr;
        gst_message_parse_error(m, &error, nullptr);
        if (negotiation)
            *negotiation =
                error && error->domain == GST_STREAM_ERROR && error->code == GST_STREAM_ERROR_FORMAT;
        out = text(error);
        if (negotiation && out.contains(QLatin1String("not-negotiated"))) *negotiation = true;
    }
    gst_message_unref(m);
    return out;
}

}  // namespace

struct Camera::Pipeline {
    GstElement* pipeline = nullptr;
    GstElement* sink = nullptr;
    GstBus* bus = nullptr;
    QTimer busTimer;
    mutable std::mutex mutex;
    QImage latest;  // guarded by mutex
    std::atomic<bool> preview{true};
    std::atomic<bool> pending{false};
    Camera* owner = nullptr;

    // On a streaming thread: the sample's pixels (BGRx, rows of `stride` bytes) become the newest
    // frame, and the window is told unless it has not yet taken the previous one.
    static GstFlowReturn newSample(GstAppSink* sink, gpointer data) {
        auto* self = static_cast<Pipeline*>(data);
        GstSample* sample = gst_app_sink_pull_sample(sink);
        if (!sample) return GST_FLOW_EOS;
        GstVideoInfo info;
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (self->preview && gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) && buffer &&
            gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const int w = GST_VIDEO_INFO_WIDTH(&info), h = GST_VIDEO_INFO_HEIGHT(&info);
            const int stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
            QImage frame(w, h, QImage::Format_RGB32);
            if (!frame.isNull() && static_cast<gsize>(stride) * static_cast<gsize>(h) <= map.size)
                for (int y = 0; y < h; ++y)
                    std::memcpy(frame.scanLine(y), map.data + static_cast<size_t>(y) * stride,
                                static_cast<size_t>(w) * 4);
            gst_buffer_unmap(buffer, &map);
            {
                // Decided under the lock: once the preview is off, no frame in flight lands.
                const std::lock_guard<std::mutex> lock(self->mutex);
                if (!self->preview) {
                    gst_sample_unref(sample);
                    return GST_FLOW_OK;
                }
                self->latest = std::move(frame);
            }
            if (!self->pending.exchange(true))
                QMetaObject::invokeMethod(
                    self->owner, [owner = self->owner] { owner->deliver(); }, Qt::QueuedConnection);
        }
        gst_sample_unref(sample);
        return GST_FLOW_OK;
    }

    void release() {
        busTimer.stop();
        if (pipeline) gst_element_set_state(pipeline, GST_STATE_NULL);  // joins the streaming threads
        if (sink) gst_object_unref(sink);
        if (bus) gst_object_unref(bus);
        if (pipeline) gst_object_unref(pipeline);
        pipeline = sink = nullptr;
        bus = nullptr;
    }
};

Camera::Camera(QObject* parent) : QObject(parent), p_(std::make_unique<Pipeline>()) {
    p_->owner = this;
    p_->busTimer.setInterval(kBusPollMs);
    connect(&p_->busTimer, &QTimer::timeout, this, &Camera::pollBus);
}

Camera::~Camera() { stop(); }

std::vector<CameraDevice> Camera::devices() {
    std::vector<CameraDevice> out;
    QString problem;
    if (!initialised(problem)) return out;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    GList* found = gst_device_monitor_get_devices(monitor);
    for (GList* d = found; d; d = d->next) {
        auto* device = static_cast<GstDevice*>(d->data);
        gchar* name = gst_device_get_display_name(device);
        GstStructure* props = gst_device_get_properties(device);
        const gchar* path = props ? gst_structure_get_string(props, "api.v4l2.path") : nullptr;
        if (!path && props) path = gst_structure_get_string(props, "device.path");
        if (path)
            out.push_back(
                {QString::fromUtf8(name), QStringLiteral("v4l2src device=%1").arg(QString::fromUtf8(path))});
        if (props) gst_structure_free(props);
        g_free(name);
    }
    g_list_free_full(found, gst_object_unref);
    gst_object_unref(monitor);
    return out;
}

Status Camera::start(const QString& source) {
    stop();
    QString problem;
    if (!initialised(problem))
        return Status::unavailable(QStringLiteral("摄像头功能不可用：%1").arg(problem));
    const QString description =
        source + QStringLiteral(
                     " ! videoconvert ! video/x-raw,format=BGRx ! appsink name=sink max-buffers=2 drop=true "
                     "sync=false");
    GError* error = nullptr;
    Pipeline& p = *p_;
    p.pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    if (!p.pipeline || error) {
        const QString why = text(error);
        p.release();
        return Status::unavailable(QStringLiteral("未找到摄像头：%1").arg(why));
    }
    p.sink = gst_bin_get_by_name(GST_BIN(p.pipeline), "sink");
    p.bus = gst_element_get_bus(p.pipeline);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &Pipeline::newSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(p.sink), &callbacks, &p, nullptr);
    p.preview = true;
    {
        const std::lock_guard<std::mutex> lock(p.mutex);
        p.latest = QImage();
    }
    GstState state;
    if (gst_element_set_state(p.pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE ||
        gst_element_get_state(p.pipeline, &state, nullptr, 3 * GST_SECOND) == GST_STATE_CHANGE_FAILURE) {
        bool negotiation = false;
        const QString why = busError(p.bus, &negotiation);
        p.release();
        return Status::unavailable(
            negotiation ? QStringLiteral("摄像头的画面格式无法转换：%1").arg(why)
                        : QStringLiteral("未找到摄像头，或摄像头正被其他程序使用：%1").arg(why));
    }
    p.busTimer.start();
    return Status::success();
}

void Camera::stop() { p_->release(); }

bool Camera::running() const { return p_->pipeline != nullptr; }

void Camera::setPreview(bool on) {
    const std::lock_guard<std::mutex> lock(p_->mutex);
    p_->preview = on;
}

bool Camera::preview() const { return p_->preview; }

QImage Camera::currentFrame() const {
    const std::lock_guard<std::mutex> lock(p_->mutex);
    return p_->latest;
}

void Camera::deliver() {
    p_->pending = false;
    if (running()) emit frameArrived();
}

void Camera::pollBus() {
    if (!p_->bus) return;
    bool negotiation = false;
    const QString why = busError(p_->bus, &negotiation);
    if (why.isEmpty()) return;
    stop();
    emit failed(negotiation ? QStringLiteral("摄像头的画面格式无法转换：%1").arg(why)
                            : QStringLiteral("摄像头已断开或出错，已停止：%1").arg(why));
}

}  // namespace ms
