# Thin wrapper over CMake: `make play` and `make test` are the two commands a player or a
# developer needs; both install what is missing first.
JOBS ?= $(shell nproc)
BUILD := build
# The sanitizer build (clang) serves both the sanitizer unit tests and the fuzzers of `make test`.
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 600
SOAK_FRAMES ?= 100000
SOAK_SEED ?= 20261207
SOAK_STARTS ?= 200
SOAK_BROKEN_STARTS ?= 300
# LeakSanitizer on; the suppression file names the only (system) libraries it may excuse.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1

.PHONY: deps configure configure-asan build data play install package test test-unit test-asan test-fuzz fuzz soak bench maps screenshots clean

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Clang, as the fuzzers need it; the compiler is named so that a folder set up for gcc switches.
configure-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON -DQUILLON_BENCH=OFF >/dev/null

# The game, its content generator and its data: nothing that only the tests or tools need.
build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Writes the game's pictures and models anew (every build writes them when the generator changed).
data: build
	cmake --build $(BUILD) --target content

play: build
	cd $(BUILD) && ./quillon

# Installs under PREFIX (default /usr/local; DESTDIR is honoured).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package quillon_<version>_<arch>.deb, in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB

# Unit, headless-GL and end-to-end tests on the game as it is built for players.
test-unit: configure
	cmake --build $(BUILD) -j $(JOBS) --target all unit_tests
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The unit tests again under the sanitizers, then each fuzzer briefly, from the same build.
test-asan: configure-asan
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests fuzz_targets
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -L unit

test-fuzz: configure-asan
	@bash tools/run-fuzzers.sh $(ASAN_BUILD) 20

# Every test once: the end-to-end scripts (and the include check) on the game as it is built for
# players, every unit test under the sanitizers, each fuzzer briefly. (`make test-unit` runs the
# unit tests on the release build too.) The sanitizer build compiles at the lowest priority while
# the scripts run: it takes only the processor time they leave (they mostly wait on the game's
# frames), never theirs. Its output goes to build-asan/build.log, shown if it fails. The editor's
# script drives the track it saved with the race tests' autopilot, hence race_tests.
test: configure configure-asan
	cmake --build $(BUILD) -j $(JOBS) --target all race_tests
	@nice -n 19 cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests fuzz_targets \
	  >$(ASAN_BUILD)/build.log 2>&1 & build=$$!; status=0; \
	  (cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE unit) || status=$$?; \
	  echo "== the sanitizer build, beside the scripts (log: $(ASAN_BUILD)/build.log)"; \
	  wait $$build || { tail -n 60 $(ASAN_BUILD)/build.log; exit 1; }; exit $$status
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests fuzz_targets
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -L unit
	@bash tools/run-fuzzers.sh $(ASAN_BUILD) 20

fuzz: deps
	@bash tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The long soak under the sanitizers: SOAK_FRAMES frames of random play from SOAK_SEED; then the
# real game started SOAK_STARTS times under Xvfb (F1 twice in every other start); then the
# sanitizer build started SOAK_BROKEN_STARTS times on damaged pictures, every box answered.
soak: configure configure-asan
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target app_tests
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) QUILLON_SOAK_FRAMES=$(SOAK_FRAMES) QUILLON_SOAK_SEED=$(SOAK_SEED) \
	  tests/app_tests --gtest_filter='Soak.*'
	cmake --build $(BUILD) -j $(JOBS) --target quillon content
	E2E_SHOTS=$(CURDIR)/$(BUILD)/soak-shots bash tests/soak/repeated_starts.sh \
	  $(CURDIR)/$(BUILD)/quillon $(CURDIR)/$(BUILD) $(SOAK_STARTS)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target quillon content
	$(SANITIZER_ENV) E2E_SHOTS=$(CURDIR)/$(ASAN_BUILD)/soak-shots bash tests/soak/broken_picture_starts.sh \
	  $(CURDIR)/$(ASAN_BUILD)/quillon $(CURDIR)/$(ASAN_BUILD) $(SOAK_BROKEN_STARTS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@cd $(BUILD) && for b in bench/bench_*; do \
	  [ "$$b" = bench/bench_window ] || { echo "== $$b"; $$b; }; done
	bash bench/window_bench.sh $(BUILD)
	bash bench/sound_bench.sh $(BUILD)

README_SHOTS := main-menu car-smile car-pizza car-taco track-sunny race-0-driver race-1-chase race-2-chase
screenshots: build
	bash tools/content/take_screenshots.sh $(BUILD)/quillon $(BUILD) $(BUILD)/shots
	for n in $(README_SHOTS); do convert $(BUILD)/shots/$$n.png -resize 400x300 -quality 85 docs/screenshots/$$n.jpg; done

maps: build
	cmake --build $(BUILD) -j $(JOBS) --target trackmap
	$(BUILD)/tools/trackmap/trackmap docs/tracks
	$(BUILD)/tools/trackmap/trackmap docs/tracks $(BUILD)/Data/Tracks/*.track

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
