// Kelda Vasi: the Kannada address book.
#include "startup.h"

int main(int argc, char *argv[]) { return Startup::run(argc, argv); }
