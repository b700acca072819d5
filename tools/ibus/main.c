/* ibus-engine-tovi: the Kannada-Tovi phonetic layout as an IBus engine. IBus starts it with
 * --ibus from the component file (tovi-kannada.xml); it serves the engine "tovi-kannada" until
 * the daemon goes away. */
#include <ibus.h>
#include <stdio.h>
#include <string.h>

#include "tovi_engine.h"

#define TOVI_IBUS_COMPONENT "org.kannadatovi.IBus.Tovi"

static void Quit(IBusBus *bus, gpointer data) {
    (void)bus;
    (void)data;
    ibus_quit();
}

int main(int argc, char **argv) {
    if (argc != 2 || strcmp(argv[1], "--ibus") != 0) {
        fprintf(argc == 2 && strcmp(argv[1], "--help") == 0 ? stdout : stderr,
                "usage: ibus-engine-tovi --ibus\n"
                "IBus starts this engine (\"%s\") when it is chosen among the input sources.\n",
                TOVI_IBUS_ENGINE_NAME);
        return argc == 2 && strcmp(argv[1], "--help") == 0 ? 0 : 2;
    }
    ibus_init();
    IBusBus *bus = ibus_bus_new();
    if (!ibus_bus_is_connected(bus)) {
        fprintf(stderr, "ibus-engine-tovi: cannot reach the IBus daemon\n");
        return 1;
    }
    g_signal_connect(bus, "disconnected", G_CALLBACK(Quit), NULL);
    IBusFactory *factory = ibus_factory_new(ibus_bus_get_connection(bus));
    ibus_factory_add_engine(factory, TOVI_IBUS_ENGINE_NAME, tovi_engine_get_type());
    if (ibus_bus_request_name(bus, TOVI_IBUS_COMPONENT, 0) == 0) {
        fprintf(stderr, "ibus-engine-tovi: the name %s is taken\n", TOVI_IBUS_COMPONENT);
        return 1;
    }
    ibus_main();
    g_object_unref(factory);
    g_object_unref(bus);
    return 0;
}
