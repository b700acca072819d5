/* The IBus engine "tovi-kannada": the phonetic layout typing Unicode Kannada through one
 * composer per input context. */
#ifndef TOVI_IBUS_ENGINE_H
#define TOVI_IBUS_ENGINE_H

#include <ibus.h>

#define TOVI_IBUS_ENGINE_NAME "tovi-kannada"

GType tovi_engine_get_type(void);

#endif
