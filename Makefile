# Two commands for a fresh Debian 12 or Debian 13 machine: `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= $(BUILD)-asan
FUZZ_BUILD ?= $(BUILD)-fuzz
BENCH_BUILD ?= $(BUILD)-bench
FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS ?= 30

.PHONY: run test build build-game build-asan fuzz bench package deps test-deps clean \
	test-debian13 bench-debian13

# Builds the game alone, then starts it in the folder that holds its archives.
run: build-game
	@cd $(BUILD)/game && ./zagonetar

deps:
	@sh scripts/install-deps.sh

test-deps:
	@sh scripts/install-deps.sh test

# The game, its archive tool and its assets; the tests are built only where their tools are.
build-game: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD) --target zagonetar zagonetar-pak game_assets

build: test-deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD)

# The same suite again under AddressSanitizer, its leak checker and UBSan; it borrows
# the archives of the normal build rather than building the assets twice.
build-asan: build
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DZAGONETAR_SANITIZE=ON -DZAGONETAR_ASSETS=OFF \
		-DZAGONETAR_ARCHIVE_DIR=$(abspath $(BUILD))/game >/dev/null
	@cmake --build $(ASAN_BUILD)

# The archive reader and the picture and sound header checks under libFuzzer for
# FUZZ_SECONDS (make fuzz FUZZ_SECONDS=3600).
# Inputs it finds interesting stay in $(FUZZ_BUILD)/corpus; a crash is saved beside it.
# The seeds are the game's smallest picture and sound, and an archive of the two.
fuzz: build
	@cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD)
	@mkdir -p $(FUZZ_BUILD)/corpus
	@$(BUILD)/zagonetar-pak extract $(BUILD)/game/imgres001.bin cvet.gif $(FUZZ_BUILD)/corpus/cvet.gif
	@$(BUILD)/zagonetar-pak extract $(BUILD)/game/sndres001.bin klik.wav $(FUZZ_BUILD)/corpus/klik.wav
	@$(BUILD)/zagonetar-pak pack $(FUZZ_BUILD)/corpus/seed.bin $(FUZZ_BUILD)/corpus/cvet.gif \
		$(FUZZ_BUILD)/corpus/klik.wav
	@$(FUZZ_BUILD)/archive_fuzz -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=512 \
		-malloc_limit_mb=64 -max_len=4096 -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus >$(FUZZ_BUILD)/fuzz.log 2>&1 \
		|| { tail -n 60 $(FUZZ_BUILD)/fuzz.log; echo "fuzz: the archive reader or a header check failed; see $(FUZZ_BUILD)/fuzz.log"; exit 1; }
	@grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' $(FUZZ_BUILD)/fuzz.log | sed 's/^/fuzz: /'

# Every test in both builds, two at a time (each whole-program test has an X server of
# its own), then half a minute of fuzzing.
test: build build-asan
	cd $(BUILD) && ctest -j2 --output-on-failure
	cd $(ASAN_BUILD) && ctest -j2 --output-on-failure
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)

# zagonetar_<version>_amd64.deb in $(BUILD), checked by lintian.
package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@out=$$(lintian --fail-on error $(BUILD)/zagonetar_*_amd64.deb 2>&1); status=$$?; \
		printf '%s\n' "$$out" | grep -v 'root privileges' || true; exit $$status
	@ls $(BUILD)/zagonetar_*_amd64.deb

# Frame costs, start-up time, memory, idle CPU and frame pacing; see docs/performance.md.
bench: build
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZAGONETAR_BENCH=ON \
		-DZAGONETAR_ASSETS=OFF -DZAGONETAR_ARCHIVE_DIR=$(abspath $(BUILD))/game >/dev/null
	@cmake --build $(BENCH_BUILD) --target frame_bench zagonetar-probe
	@bench/run.sh $(BENCH_BUILD) $(BUILD)/game

# `make test` and `make package` again in a fresh Debian 13 root, whose SDL 1.2 is
# sdl12-compat over SDL 2, cloned from this checkout's last commit (needs root or sudo).
test-debian13:
	@sh scripts/debian13.sh test package

# `make bench` in a fresh Debian 13 root, to set beside this machine's own.
bench-debian13:
	@sh scripts/debian13.sh bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
