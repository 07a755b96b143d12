# The two commands: `make run` and `make test`. Both install what is missing, configure and build:
# `make run` only what building and running need, `make test` the test tools too.
BUILD      ?= build
TEST_BUILD ?= build-test
BENCH_BUILD ?= build-bench
DEB_BUILD  ?= build-deb
PREFIX     ?= /usr/local
GENERATOR  := -G Ninja
JOBS       ?= 2
CTEST_ARGS ?=

.PHONY: run test bench fuzz deps build build-test install uninstall deb format format-check clean

deps:
	@scripts/install-deps

.PHONY: deps-test
deps-test:
	@scripts/install-deps test

build: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLV_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/linkvane

# make install [PREFIX=/usr/local] [DESTDIR=/staging]; make uninstall [DESTDIR=/staging] removes
# what it installed (the list is $(BUILD)/install_manifest.txt).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

uninstall:
	@DESTDIR="$(DESTDIR)" cmake -DMANIFEST=$(abspath $(BUILD))/install_manifest.txt -P cmake/LinkvaneUninstall.cmake

# The Debian package, from a Release build with the prefix /usr: $(DEB_BUILD)/linkvane_*.deb.
deb: deps
	@cmake -S . -B $(DEB_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DLV_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
	@cmake --build $(DEB_BUILD) -j $(JOBS)
	@rm -f $(DEB_BUILD)/linkvane_*.deb
	cd $(DEB_BUILD) && cpack -G DEB
	@ls $(DEB_BUILD)/linkvane_*.deb

# Tests run in a Debug build with AddressSanitizer and UBSan; warnings are errors there.
build-test: deps-test
	@cmake -S . -B $(TEST_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DLV_SANITIZE=ON -DLV_WERROR=ON >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)

test: build-test
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600 $(CTEST_ARGS)

bench: deps-test
	@cmake -S . -B $(BENCH_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DLV_BUILD_TESTS=OFF -DLV_BUILD_GUI=OFF -DLV_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b || exit 1; done

# Real fuzzing with clang's libFuzzer: make fuzz FUZZ_SECONDS=60. Each target works on its own
# corpus in build-fuzz/corpus/ (seeded from fuzz/corpus/); crashes are kept in build-fuzz/crashes/.
FUZZ_SECONDS ?= 30
fuzz:
	@scripts/install-deps fuzz
	@cmake -S . -B build-fuzz $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DLV_LIBFUZZER=ON -DLV_BUILD_GUI=OFF -DLV_SANITIZE=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target lv_fuzzers
	@scripts/fuzz-run build-fuzz $(FUZZ_SECONDS)

SOURCES = $(shell git ls-files '*.cpp' '*.h')
format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD) $(DEB_BUILD) build-fuzz
