// The engine through IBus itself: a private daemon finds it through the build's component
// folder, an input context of the client library selects "tovi-kannada", and key events give
// the pre-edit and the committed text that `tovi type --unicode` prints for the same keys.
#include <gtest/gtest.h>
#include <ibus.h>

#include <chrono>
#include <string>
#include <thread>

#include "../library/support/tovi_run.h"
#include "ibus_daemon.h"

namespace {

// What the context received: the committed text, the pre-edit shown and whether it is
// underlined.
struct Received {
    std::string committed, preedit;
    bool underlined = false;
};

void OnCommit(IBusInputContext *, IBusText *text, gpointer data) {
    static_cast<Received *>(data)->committed += ibus_text_get_text(text);
}

void OnPreedit(IBusInputContext *, IBusText *text, guint, gboolean visible, gpointer data) {
    Received *r = static_cast<Received *>(data);
    r->preedit = visible ? ibus_text_get_text(text) : "";
    r->underlined = false;
    IBusAttrList *attrs = ibus_text_get_attributes(text);
    for (guint i = 0; attrs && ibus_attr_list_get(attrs, i); i++) {
        IBusAttribute *a = ibus_attr_list_get(attrs, i);
        if (ibus_attribute_get_attr_type(a) == IBUS_ATTR_TYPE_UNDERLINE &&
            ibus_attribute_get_start_index(a) == 0 && ibus_attribute_get_end_index(a) == ibus_text_get_length(text))
            r->underlined = true;
    }
}

void OnHidePreedit(IBusInputContext *, gpointer data) { static_cast<Received *>(data)->preedit.clear(); }

// Dispatches what arrived; with a condition, waits for it (at most five seconds).
template <typename Done>
bool Dispatch(Done done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
void Dispatch() {
    Dispatch([] { return true; });
}

// One input context for the whole program, the engine chosen once: a context made later would
// first get the engine of the one before it (IBus moves the engine with the focus).
class IbusEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        daemon = new IbusDaemon;
        ibus_init();
        // The daemon listens once it has started: a bounded poll.
        for (int i = 0; i < 500 && !bus; i++) {
            IBusBus *b = ibus_bus_new();
            if (ibus_bus_is_connected(b)) bus = b;
            else {
                g_object_unref(b);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        if (!bus) return;
        context = ibus_bus_create_input_context(bus, "tovi test");
        if (!context) return;
        ibus_input_context_set_capabilities(context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS);
        ibus_input_context_focus_in(context);
        ibus_input_context_set_engine(context, "tovi-kannada");
        // The daemon starts the engine's program on the first use: a bounded poll.
        engineChosen = Dispatch([] {
            IBusEngineDesc *engine = ibus_input_context_get_engine(context);
            return engine && std::string(ibus_engine_desc_get_name(engine)) == "tovi-kannada";
        });
    }
    static void TearDownTestSuite() {
        if (context) {
            ibus_proxy_destroy(IBUS_PROXY(context));
            g_object_unref(context);
        }
        if (bus) g_object_unref(bus);
        delete daemon;
    }

    void SetUp() override {
        ASSERT_NE(bus, nullptr) << "the IBus daemon did not start";
        ASSERT_TRUE(engineChosen) << "the daemon did not start the engine";
        ibus_input_context_focus_in(context);
        g_signal_connect(context, "commit-text", G_CALLBACK(OnCommit), &got);
        g_signal_connect(context, "update-preedit-text", G_CALLBACK(OnPreedit), &got);
        g_signal_connect(context, "hide-preedit-text", G_CALLBACK(OnHidePreedit), &got);
    }
    // What a test left composed is committed, and arrives, before the next test listens.
    void TearDown() override {
        ibus_input_context_property_activate(context, "key-engine", PROP_STATE_UNCHECKED);
        ibus_input_context_reset(context);
        ibus_input_context_get_engine(context);  // a round trip: what the daemon sent has come
        Dispatch();
        g_signal_handlers_disconnect_by_data(context, &got);
    }

    // Sends each key's press and release; returns whether the engine took the last press.
    bool Keys(const std::string &keys, guint state = 0) {
        bool taken = false;
        for (char k : keys) {
            guint keyval = k == '\b' ? IBUS_KEY_BackSpace : k == '\x1b' ? IBUS_KEY_Escape
                         : k == '\r' ? IBUS_KEY_Return : static_cast<guint>(static_cast<unsigned char>(k));
            taken = ibus_input_context_process_key_event(context, keyval, 0, state);
            ibus_input_context_process_key_event(context, keyval, 0, state | IBUS_RELEASE_MASK);
        }
        Dispatch();
        return taken;
    }

    // What `tovi type --unicode` prints for the keys (without its line end).
    std::string Tovi(const std::string &keys, bool keyEngine = false) {
        std::vector<std::string> args{"type", "--unicode"};
        if (keyEngine) args.push_back("--key-engine");
        args.push_back(keys);
        std::string out = tovi.Run(args).out;
        return out.empty() ? out : out.substr(0, out.size() - 1);
    }

    static IbusDaemon *daemon;
    static IBusBus *bus;
    static IBusInputContext *context;
    static bool engineChosen;
    Received got;
    ToviRunner tovi;
};

IbusDaemon *IbusEngine::daemon = nullptr;
IBusBus *IbusEngine::bus = nullptr;
IBusInputContext *IbusEngine::context = nullptr;
bool IbusEngine::engineChosen = false;

TEST_F(IbusEngine, ASyllableIsPreeditUntilASpaceCommitsIt) {
    const std::string kfkfy = Tovi("kfkfy");
    ASSERT_FALSE(kfkfy.empty());
    EXPECT_TRUE(Keys("kfkfy"));
    EXPECT_EQ(got.preedit, kfkfy);
    EXPECT_TRUE(got.underlined);
    EXPECT_EQ(got.committed, "");
    EXPECT_TRUE(Keys(" "));
    EXPECT_EQ(got.committed, kfkfy + " ");
    EXPECT_EQ(got.preedit, "");
    // Punctuation follows the syllable it ends; Enter passes on after it.
    got.committed.clear();
    EXPECT_TRUE(Keys("ki."));
    EXPECT_FALSE(Keys("k\r"));
    EXPECT_EQ(got.committed, Tovi("ki") + "." + Tovi("k"));
}

TEST_F(IbusEngine, BackspaceInsideThePreeditAndOutside) {
    EXPECT_TRUE(Keys("kfkfy\b"));
    EXPECT_EQ(got.preedit, Tovi("kfkfy{BS}"));
    EXPECT_TRUE(Keys("\b"));
    EXPECT_EQ(got.preedit, Tovi("kfkfy{BS}{BS}"));
    EXPECT_TRUE(Keys("\b"));
    EXPECT_EQ(got.preedit, "");
    EXPECT_EQ(Tovi("kfkfy{BS}{BS}{BS}"), "");
    // Nothing composed: the program's own Backspace.
    EXPECT_FALSE(Keys("\b"));
    EXPECT_TRUE(Keys("ki "));
    EXPECT_FALSE(Keys("\b"));
    EXPECT_EQ(got.committed, Tovi("ki") + " ");
}

TEST_F(IbusEngine, EscapeDropsThePreeditAndCtrlOrAltKeysPass) {
    EXPECT_TRUE(Keys("ki\x1b"));
    EXPECT_EQ(got.preedit, "");
    EXPECT_FALSE(Keys("\x1b"));
    EXPECT_EQ(got.committed, "");
    // A key with Ctrl or Alt is the program's; the text composed so far stays.
    Keys("k");
    EXPECT_FALSE(Keys("c", IBUS_CONTROL_MASK));
    EXPECT_FALSE(Keys("f", IBUS_MOD1_MASK));
    EXPECT_EQ(got.committed, Tovi("k"));
    EXPECT_EQ(got.preedit, "");
}

TEST_F(IbusEngine, AResetOrAFocusChangeCommitsThePreedit) {
    Keys("ki");
    ibus_input_context_reset(context);
    EXPECT_TRUE(Dispatch([this] { return !got.committed.empty(); }));
    EXPECT_EQ(got.committed, Tovi("ki"));
    got.committed.clear();
    // The next key starts a new syllable: "i" is the vowel itself.
    Keys("i");
    EXPECT_EQ(got.preedit, Tovi("i"));
    ibus_input_context_focus_out(context);
    EXPECT_TRUE(Dispatch([this] { return !got.committed.empty(); }));
    EXPECT_EQ(got.committed, Tovi("i"));
}

TEST_F(IbusEngine, ThePropertySwitchesTheKeyEngine) {
    ibus_input_context_property_activate(context, "key-engine", PROP_STATE_CHECKED);
    Keys("ka");
    EXPECT_EQ(got.preedit, Tovi("ka", true));
    EXPECT_NE(got.preedit, Tovi("ka"));
    ibus_input_context_property_activate(context, "key-engine", PROP_STATE_UNCHECKED);
    Keys(" ka");
    EXPECT_EQ(got.preedit, Tovi("ka"));
}

}  // namespace
