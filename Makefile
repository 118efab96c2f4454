# Two commands for a fresh Debian 12 or Debian 13 machine: `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= $(BUILD)-asan
FUZZ_BUILD ?= $(BUILD)-fuzz
BENCH_BUILD ?= $(BUILD)-bench
FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS ?= 15

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

# The archive reader, and the picture, sound and music checks each with the decoder behind
# it, under libFuzzer for FUZZ_SECONDS each (make fuzz FUZZ_SECONDS=3600).
# Inputs they find interesting stay in $(FUZZ_BUILD)/corpus-*; a crash is saved beside them.
# Leaks are findings too, except the libraries' own known ones (the same list as the tests').
# The seeds are the game's smallest picture, a sound, the tune, a small AIFF, and an archive.
fuzz: build
	@cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD)
	@mkdir -p $(FUZZ_BUILD)/corpus-archive $(FUZZ_BUILD)/corpus-media
	@for name in cvet.gif; do $(BUILD)/zagonetar-pak extract $(BUILD)/game/imgres001.bin $$name \
		$(FUZZ_BUILD)/corpus-media/$$name; done
	@for name in klik.wav aladin.mid; do $(BUILD)/zagonetar-pak extract \
		$(BUILD)/game/sndres001.bin $$name $(FUZZ_BUILD)/corpus-media/$$name; done
	@cp tests/fuzz/seeds/* $(FUZZ_BUILD)/corpus-media/
	@$(BUILD)/zagonetar-pak pack $(FUZZ_BUILD)/corpus-archive/seed.bin \
		$(FUZZ_BUILD)/corpus-media/cvet.gif $(FUZZ_BUILD)/corpus-media/klik.wav
	@for target in archive media; do \
		LSAN_OPTIONS=suppressions=$(abspath tests/sanitizers/lsan.supp):print_suppressions=0 \
		$(FUZZ_BUILD)/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-rss_limit_mb=1024 -malloc_limit_mb=64 -max_len=4096 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/$$target- $(FUZZ_BUILD)/corpus-$$target \
			>$(FUZZ_BUILD)/$$target.log 2>&1 \
		|| { tail -n 60 $(FUZZ_BUILD)/$$target.log; \
			echo "fuzz: $$target failed; see $(FUZZ_BUILD)/$$target.log"; exit 1; }; \
		grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' \
			$(FUZZ_BUILD)/$$target.log | sed "s/^/fuzz $$target: /"; \
	done

# Every test in both builds, two at a time (each whole-program test has an X server of
# its own), then a quarter of a minute of fuzzing for each fuzzer.
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
