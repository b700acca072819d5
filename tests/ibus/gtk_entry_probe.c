/* A GTK window with one text entry, typed into through the input-method module the
 * environment names (GTK_IM_MODULE). Each change of the entry's text is printed as a line;
 * Enter (the entry's activation) ends the program. */
#include <gtk/gtk.h>
#include <stdio.h>

static void OnChanged(GtkEditable *entry, gpointer data) {
    (void)data;
    printf("%s\n", gtk_entry_get_text(GTK_ENTRY(entry)));
    fflush(stdout);
}

int main(int argc, char **argv) {
    gtk_init(&argc, &argv);
    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), argc > 1 ? argv[1] : "Kannada-Tovi IBus");
    gtk_window_set_default_size(GTK_WINDOW(window), 360, 60);
    GtkWidget *entry = gtk_entry_new();
    GtkCssProvider *css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, "entry { font-family: \"Lohit Kannada\"; font-size: 20pt; padding: 6px; }", -1, NULL);
    gtk_style_context_add_provider(gtk_widget_get_style_context(entry), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    gtk_container_set_border_width(GTK_CONTAINER(window), 10);
    gtk_container_add(GTK_CONTAINER(window), entry);
    g_signal_connect(entry, "changed", G_CALLBACK(OnChanged), NULL);
    g_signal_connect(entry, "activate", G_CALLBACK(gtk_main_quit), NULL);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
