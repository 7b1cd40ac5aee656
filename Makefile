# Quick start: `make run` starts the viewer on the sample library,
# `make test` builds with the sanitizers and runs every test.
SHELL := bash
BUILD ?= build/release
TEST_BUILD ?= build/test
TSAN_BUILD ?= build/tsan
SAMPLE ?= out/sample-library

.PHONY: deps run build test bench fuzz deb clean

deps:
	@bash tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEB_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)

$(SAMPLE): | build
	@$(BUILD)/zeb-sample-library $(SAMPLE)

run: build $(SAMPLE)
	@bash tools/run-viewer.sh $(BUILD)/zeb $(SAMPLE)

# The plain release viewer is built too: the valgrind check runs it, since
# the sanitizer build cannot run under valgrind. The tests of the code that
# runs on two threads run once more under ThreadSanitizer, which cannot be
# combined with AddressSanitizer.
test: build
	@bash tools/check-layers.sh
	@cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEB_TSAN=ON -DZEB_BENCH=OFF >/dev/null
	@cmake --build $(TSAN_BUILD)
	@cd $(TSAN_BUILD) && ctest --output-on-failure -j2
	@cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEB_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD)
	@cd $(TEST_BUILD) && ctest --output-on-failure -j2

bench: build
	@bash tools/install-deps.sh --bench
	@bash bench/run $(BUILD)

fuzz:
	@bash tools/install-deps.sh --fuzz
	@bash tools/fuzz.sh $(FUZZ_SECONDS)

# The Debian package, in out/ (install it with `sudo apt install ./out/zeb_*.deb`).
deb:
	@bash tools/install-deps.sh --deb
	@bash tools/make-deb.sh

clean:
	rm -rf build out
