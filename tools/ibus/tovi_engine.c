/* The engine for one input context. Letter keys and Backspace go to the context's composer;
 * the syllable being composed is the pre-edit (underlined), and what leaves it is committed.
 * Any other key ends the syllable: a character key is committed after the pre-edit, Enter,
 * Tab and the others pass on after it. IBus commits the pre-edit itself when the context is
 * reset or loses the focus (commit mode), so a click or a focus change keeps the text. Keys
 * with Ctrl, Alt or the logo key pass untouched. */
#include "tovi_engine.h"

#include <string.h>

#include "kannada-tovi-composer.h"

typedef struct {
    IBusEngine parent;
    ToviComposer *composer;
    int flags;            /* the options the composer runs with */
    GString *preedit;     /* the pre-edit shown */
    IBusPropList *properties;
    IBusProperty *keyEngine;
} ToviEngine;

typedef struct {
    IBusEngineClass parent;
} ToviEngineClass;

G_DEFINE_TYPE(ToviEngine, tovi_engine, IBUS_TYPE_ENGINE)

/* The key-engine option is one for the whole engine process: every context follows the
 * panel's switch. */
static gboolean keyEngineOn = FALSE;

#define KEY_ENGINE_PROPERTY "key-engine"

static void tovi_engine_init(ToviEngine *e) {
    e->flags = keyEngineOn ? TOVI_COMPOSER_KEY_ENGINE : 0;
    e->composer = ToviComposerNew(TOVI_COMPOSER_UTF8, e->flags);
    e->preedit = g_string_new(NULL);
    e->keyEngine = ibus_property_new(
        KEY_ENGINE_PROPERTY, PROP_TYPE_TOGGLE, ibus_text_new_from_static_string("Long ā on the a key"), NULL,
        ibus_text_new_from_static_string("After a consonant, a types the long ā sign and A the short a"), TRUE,
        TRUE, keyEngineOn ? PROP_STATE_CHECKED : PROP_STATE_UNCHECKED, NULL);
    e->properties = ibus_prop_list_new();
    g_object_ref_sink(e->properties);
    ibus_prop_list_append(e->properties, e->keyEngine);
}

static void tovi_engine_destroy(IBusObject *object) {
    ToviEngine *e = (ToviEngine *)object;
    ToviComposerFree(e->composer);
    e->composer = NULL;
    if (e->preedit) g_string_free(e->preedit, TRUE);
    e->preedit = NULL;
    g_clear_object(&e->properties);
    IBUS_OBJECT_CLASS(tovi_engine_parent_class)->destroy(object);
}

/* Shows the pre-edit, underlined, the cursor at its end; IBus commits it when the context is
 * reset or loses the focus. */
static void ShowPreedit(ToviEngine *e, const char *utf8, int length) {
    g_string_assign(e->preedit, "");
    g_string_append_len(e->preedit, utf8, length);
    IBusText *text = ibus_text_new_from_string(e->preedit->str);
    guint chars = ibus_text_get_length(text);
    ibus_text_append_attribute(text, IBUS_ATTR_TYPE_UNDERLINE, IBUS_ATTR_UNDERLINE_SINGLE, 0, (gint)chars);
    ibus_engine_update_preedit_text_with_mode(&e->parent, text, chars, chars > 0, IBUS_ENGINE_PREEDIT_COMMIT);
}

static void Commit(ToviEngine *e, const char *utf8, gsize length) {
    if (length == 0) return;
    gchar *copy = g_strndup(utf8, length);
    ibus_engine_commit_text(&e->parent, ibus_text_new_from_string(copy));
    g_free(copy);
}

/* What a key the composer took asks for: the text that left the pre-edit, then the new one. */
static void Apply(ToviEngine *e, const ToviComposerResult *r) {
    if (r->commitLength > 0 && e->preedit->len) ShowPreedit(e, "", 0);
    Commit(e, r->commit, (gsize)r->commitLength);
    ShowPreedit(e, r->preedit, r->preeditLength);
}

/* Ends the syllable; the pre-edit is committed, followed by `after` (may be empty). */
static void CommitPreedit(ToviEngine *e, const char *after) {
    GString *text = g_string_new(e->preedit->str);
    g_string_append(text, after);
    ToviComposerReset(e->composer);
    if (e->preedit->len) ShowPreedit(e, "", 0);
    Commit(e, text->str, text->len);
    g_string_free(text, TRUE);
}

static void FollowKeyEngineSwitch(ToviEngine *e) {
    int flags = keyEngineOn ? TOVI_COMPOSER_KEY_ENGINE : 0;
    if (flags == e->flags) return;
    CommitPreedit(e, "");
    ToviComposerSetOptions(e->composer, TOVI_COMPOSER_UTF8, flags);
    e->flags = flags;
}

static gboolean IsModifierKey(guint keyval) {
    return (keyval >= IBUS_KEY_Shift_L && keyval <= IBUS_KEY_Hyper_R) || keyval == IBUS_KEY_ISO_Level3_Shift ||
           keyval == IBUS_KEY_Num_Lock || keyval == IBUS_KEY_Scroll_Lock;
}

static gboolean tovi_engine_process_key_event(IBusEngine *engine, guint keyval, guint keycode, guint modifiers) {
    ToviEngine *e = (ToviEngine *)engine;
    (void)keycode;
    if (modifiers & IBUS_RELEASE_MASK) return FALSE;
    if (IsModifierKey(keyval)) return FALSE;
    if (modifiers & (IBUS_CONTROL_MASK | IBUS_MOD1_MASK | IBUS_SUPER_MASK | IBUS_HYPER_MASK | IBUS_META_MASK)) {
        /* The key is the program's, on the text as the person sees it. */
        if (e->preedit->len) CommitPreedit(e, "");
        return FALSE;
    }
    FollowKeyEngineSwitch(e);
    ToviComposerResult r;
    if ((keyval >= 'a' && keyval <= 'z') || (keyval >= 'A' && keyval <= 'Z')) {
        ToviComposerFeed(e->composer, (int)keyval, &r);
        Apply(e, &r);
        return TRUE;
    }
    if (keyval == IBUS_KEY_BackSpace) {
        /* Inside the pre-edit the composer takes it back; outside, the program erases. */
        if (!ToviComposerFeed(e->composer, 8, &r)) return FALSE;
        Apply(e, &r);
        return TRUE;
    }
    if (keyval == IBUS_KEY_Escape && e->preedit->len) {
        ToviComposerReset(e->composer);
        ShowPreedit(e, "", 0);
        return TRUE;
    }
    if (e->preedit->len && keyval >= 0x20 && keyval <= 0x7E) {
        /* A character key ends the syllable and follows it. */
        char after[2] = {(char)keyval, 0};
        CommitPreedit(e, after);
        return TRUE;
    }
    CommitPreedit(e, "");
    return FALSE;
}

/* A reset or a focus change: IBus has committed the pre-edit already (commit mode). */
static void ForgetSyllable(ToviEngine *e) {
    ToviComposerReset(e->composer);
    g_string_assign(e->preedit, "");
}

static void tovi_engine_reset(IBusEngine *engine) {
    ForgetSyllable((ToviEngine *)engine);
    IBUS_ENGINE_CLASS(tovi_engine_parent_class)->reset(engine);
}

static void tovi_engine_focus_out(IBusEngine *engine) {
    ForgetSyllable((ToviEngine *)engine);
    IBUS_ENGINE_CLASS(tovi_engine_parent_class)->focus_out(engine);
}

static void tovi_engine_disable(IBusEngine *engine) {
    ToviEngine *e = (ToviEngine *)engine;
    if (e->preedit->len) CommitPreedit(e, "");
    ForgetSyllable(e);
    IBUS_ENGINE_CLASS(tovi_engine_parent_class)->disable(engine);
}

static void tovi_engine_focus_in(IBusEngine *engine) {
    ToviEngine *e = (ToviEngine *)engine;
    ibus_property_set_state(e->keyEngine, keyEngineOn ? PROP_STATE_CHECKED : PROP_STATE_UNCHECKED);
    ibus_engine_register_properties(engine, e->properties);
    IBUS_ENGINE_CLASS(tovi_engine_parent_class)->focus_in(engine);
}

static void tovi_engine_property_activate(IBusEngine *engine, const gchar *name, guint state) {
    ToviEngine *e = (ToviEngine *)engine;
    if (strcmp(name, KEY_ENGINE_PROPERTY) != 0) return;
    keyEngineOn = state == PROP_STATE_CHECKED;
    FollowKeyEngineSwitch(e);
    ibus_property_set_state(e->keyEngine, state);
    ibus_engine_update_property(engine, e->keyEngine);
}

static void tovi_engine_class_init(ToviEngineClass *klass) {
    IBusEngineClass *engine = IBUS_ENGINE_CLASS(klass);
    IBUS_OBJECT_CLASS(klass)->destroy = tovi_engine_destroy;
    engine->process_key_event = tovi_engine_process_key_event;
    engine->reset = tovi_engine_reset;
    engine->focus_in = tovi_engine_focus_in;
    engine->focus_out = tovi_engine_focus_out;
    engine->disable = tovi_engine_disable;
    engine->property_activate = tovi_engine_property_activate;
}
