# Kannada-Tovi and Kelda Vasi. `make run` starts the address book; `make test` passes every test.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

.PHONY: all deps build run test test-linux test-windows windows bench fuzz screenshots clean \
        install package check-package windows-package

all: build

deps:
	@bash cmake/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	@if [ ! -x build/bin/kelda-vasi ]; then \
	  echo "The address book (kelda-vasi) was not built: Qt 6 was not found (make deps installs it)."; exit 1; \
	fi; \
	if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "kelda-vasi is a desktop program and there is no display here; start it in a graphical session, or see it with 'make screenshots'."; exit 1; \
	fi; \
	exec build/bin/kelda-vasi

windows: deps
	cmake --preset windows-x86
	cmake --build --preset windows-x86 -j $(JOBS)
	cmake --preset windows-x64
	cmake --build --preset windows-x64 -j $(JOBS)

test-linux: build
	ctest --preset default -j $(JOBS)

test-windows: windows
	ctest --preset windows-x86
	ctest --preset windows-x64

test: test-linux test-windows

# Installs into PREFIX (default /usr/local); DESTDIR stages the install under another root.
install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

# Debian packages into build/packages; check-package also runs lintian on them.
package: build
	rm -f build/packages/*.deb
	cd build && cpack --config CPackConfig.cmake
	@ls build/packages/*.deb

check-package: package
	lintian --fail-on error build/packages/*.deb

# The Windows zips (x86 and x64) into build/packages.
windows-package: windows
	@set -e; for arch in x86 x64; do \
	  (cd build/windows-$$arch && rm -f packages/*.zip && cpack --config CPackConfig.cmake); \
	  mkdir -p build/packages && cp build/windows-$$arch/packages/*.zip build/packages/; \
	done
	@ls build/packages/*.zip

bench: build
	@set -e; for b in build/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@set -e; for f in build/fuzz/bin/fuzz_*; do \
	  name=$$(basename $$f); corpus=build/fuzz/corpus/$$name; mkdir -p $$corpus; \
	  seeds=""; [ -d fuzz/seeds/$$name ] && seeds=fuzz/seeds/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  if "$$f" -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$corpus $$seeds > build/fuzz/$$name.log 2>&1; then \
	    grep -E "stat::number_of_executed_units|Done" build/fuzz/$$name.log | tail -n 2; \
	  else \
	    tail -n 40 build/fuzz/$$name.log; echo "$$name found a fault (log: build/fuzz/$$name.log)"; exit 1; \
	  fi; \
	done

# The address book walks through its own windows under a virtual X server and saves a picture
# of each into build/screenshots (on a database of its own, made afresh); then a GTK entry is
# typed into through the IBus engine (a private IBus daemon) and saved while composing.
screenshots: build
	@rm -rf build/screenshots && mkdir -p build/screenshots
	@db=$$(mktemp -d); \
	TOVI_DESKTOP=kelda-screenshots xvfb-run -a -s "-screen 0 1280x900x24" \
	  build/bin/kelda-vasi-tour --database $$db/address.sqlite --screenshots build/screenshots; \
	status=$$?; rm -rf $$db; exit $$status
	@xvfb-run -a -s "-screen 0 800x300x24" dbus-run-session --config-file=tests/ibus/session.conf -- \
	  bash tests/ibus/gtk_entry_test.sh build build/screenshots/ibus-gtk-entry.png

clean:
	rm -rf build
