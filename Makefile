# Entry points a newcomer needs. Every target installs what it needs first.
BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: deps configure game build run test bench assets install deb clean test-asan fuzz

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# The game alone, with its shaders and run folder: all that playing and installing need.
game: configure
	cmake --build $(BUILD) -j$(JOBS) --target game

# Everything: the game, the tests, the benchmark and the asset generator.
build: configure
	cmake --build $(BUILD) -j$(JOBS)

# With a display: play. Without one: a short run under Xvfb that ends with a screenshot.
run: game
	@bash scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600

# From the run folder, where "res/shader/..." and "../assets/..." resolve wherever the build folder is.
bench: build
	cd $(BUILD)/runtree/game && xvfb-run -a -s "-screen 0 1280x1024x24" ../../glorbit_bench

assets: build
	cd $(BUILD) && ./tools/assetgen/assetgen $(CURDIR)/assets
	cd $(BUILD) && ./tools/assetgen/assetgen --icons $(CURDIR)/packaging/icons

# The game, its launcher, manual page and desktop files under $(PREFIX) (bin/glorbit starts it).
install: game
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian packages glorbit and glorbit-data, built in $(BUILD)/deb with Debian's folders for
# games and its hardening flags.
deb: deps
	JOBS=$(JOBS) bash packaging/build-deb.sh $(BUILD)/deb

# The whole suite under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer (with
# float-to-int overflow, stopping at the first report), in a build folder of its own.
ASAN_BUILD ?= build-asan
SANITIZER_FLAGS = -fsanitize=float-cast-overflow -fno-sanitize-recover=all
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# The game's own runs (end-to-end, bots, soak) check for memory errors and undefined behaviour but
# not for leaks: Mesa's driver is unloaded at glfwTerminate, and its leaks then carry no module name
# that a suppression could match. Their quarantine is off, so the soak's memory-growth limit still
# measures the game and not the sanitizer's delayed frees.
GAME_RUNS = ^(e2e_|bot_|soak$$)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLORBIT_SANITIZE=ON -DGLORBIT_BENCH=OFF \
		-DCMAKE_C_FLAGS="$(SANITIZER_FLAGS)" -DCMAKE_CXX_FLAGS="$(SANITIZER_FLAGS)" >/dev/null
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) xvfb-run -a -s "-screen 0 1280x1024x24" \
		ctest --output-on-failure --timeout 900 -E '$(GAME_RUNS)'
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=0 \
		xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 900 -R '$(GAME_RUNS)'

# libFuzzer, built with clang, on one of three paths (TARGET): model (import, checks, conversion),
# image (header checks, decode, the sky's channel handling) or settings (the whole file to the
# values the game uses); no GL. Runs SECONDS seconds from a corpus seeded with the game's own files;
# what it adds stays in $(FUZZ_BUILD)/corpus-TARGET, crashing inputs land in
# $(FUZZ_BUILD)/findings-TARGET (copy them to tests/fuzz/found/TARGET/, which `make test` replays).
FUZZ_BUILD ?= build-fuzz
SECONDS ?= 60
TARGET ?= model
FUZZ_FLAGS = -fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow -fno-sanitize-recover=all \
	-fno-omit-frame-pointer -gline-tables-only
FUZZ_SEEDS_model = assets/zub/zub.fbx assets/enemy/Stone_enemy2.fbx
FUZZ_SEEDS_image = assets/default_tex.png assets/zub/zub.png assets/enemy/Stone_enemy2.png assets/emap/top.jpg packaging/icons/64/org.glorbit.glorbit.png
FUZZ_SEEDS_settings = assets/settings.ini

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DGLORBIT_FUZZ=ON -DGLORBIT_BENCH=OFF -DGLORBIT_TOOLS=OFF \
		-DCMAKE_C_FLAGS="$(FUZZ_FLAGS)" -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(TARGET)_fuzz model_fuzz_seeds
	mkdir -p $(FUZZ_BUILD)/corpus-$(TARGET) $(FUZZ_BUILD)/seeds-$(TARGET) $(FUZZ_BUILD)/findings-$(TARGET)
	cp $(FUZZ_SEEDS_$(TARGET)) $(FUZZ_BUILD)/seeds-$(TARGET)/
	if [ $(TARGET) = model ]; then $(FUZZ_BUILD)/tests/fuzz/model_fuzz_seeds $(FUZZ_BUILD)/seeds-model; fi
	cd $(FUZZ_BUILD) && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
		nice -n 19 ./tests/fuzz/$(TARGET)_fuzz -max_total_time=$(SECONDS) -rss_limit_mb=4096 -timeout=30 -max_len=131072 \
		-artifact_prefix=findings-$(TARGET)/ -print_final_stats=1 corpus-$(TARGET) seeds-$(TARGET)

clean:
	rm -rf $(BUILD)
