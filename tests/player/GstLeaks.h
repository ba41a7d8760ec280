#pragma once

#include <gst/gst.h>

#include <string_view>

// Objects still alive that GStreamer's leaks tracer counts (its filter set
// in GST_TRACERS before GStreamer starts); -1 when the tracer is not running.
// Asked only when none of them should live: on GStreamer 1.22, asking while
// a playbin lives leaves that playbin one reference short.
inline int LiveTracedObjects() {
    int count = -1;
    GList* tracers = gst_tracing_get_active_tracers();
    for (GList* t = tracers; t != nullptr; t = t->next) {
        if (std::string_view(G_OBJECT_TYPE_NAME(t->data)) != "GstLeaksTracer") continue;
        GstStructure* live = nullptr;
        g_signal_emit_by_name(t->data, "get-live-objects", &live);
        count = static_cast<int>(gst_value_list_get_size(gst_structure_get_value(live, "live-objects-list")));
        gst_structure_free(live);
    }
    g_list_free_full(tracers, gst_object_unref);
    return count;
}
