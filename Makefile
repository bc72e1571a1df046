# Front door of the build. Every target installs what it needs first.
#   make test   build everything, run unit, Wine end-to-end and static checks
#   make demo   run the launcher on the example disc under Wine
#   make dist   dist/x64/launcher.exe, dist/x86/launcher.exe, a disc zip for each, and dist/tools/launcher-check(.exe)
#   make bench  sizes of both builds, start-up times and memory under Wine (BENCH_RUNS, default 21, up to 64)
#   make fuzz   run each fuzz target for FUZZ_SECONDS (default 60) and show its reach
#   make check DISC=FOLDER [NAME=...]   check a disc folder before it is made into a disc
#   make preview DISC=FOLDER [NAME=...]   screenshots of its window at 100, 150 and 200 % under Wine
#   make iso DISC=FOLDER LABEL=LABEL [NAME=...]   check it, then write dist/LABEL.iso of it
# Product settings (all optional), e.g.
#   make dist ICON=acme.ico NAME=autorun TITLE="Acme Setup" COMPANY="Acme Ltd" VERSION=2.1

BUILD ?= build
NAME ?= launcher
TITLE ?= Setup
ICON ?=
PRODUCT ?=
DESCRIPTION ?=
COMPANY ?=
COPYRIGHT ?=
VERSION ?= 1.0.0.0
JOBS ?= $(shell nproc)

# Sub-makes (CMake's own Makefiles) print what they build, not where.
MAKEFLAGS += --no-print-directory

# A toolchain file is read only when a build folder is first configured;
# given again later, CMake warns that it went unused.
toolchain = $(if $(wildcard $(BUILD)/$(1)/CMakeCache.txt),,-DCMAKE_TOOLCHAIN_FILE=cmake/$(2).cmake)

# Each value reaches CMake as one shell word, whatever quotes it holds.
quote = '$(subst ','\'',$(1))'
PRODUCT_FLAGS = -DLAUNCHER_NAME=$(call quote,$(NAME)) -DLAUNCHER_TITLE=$(call quote,$(TITLE)) \
	-DLAUNCHER_ICON=$(call quote,$(if $(ICON),$(abspath $(ICON)))) -DLAUNCHER_PRODUCT=$(call quote,$(PRODUCT)) \
	-DLAUNCHER_DESCRIPTION=$(call quote,$(DESCRIPTION)) -DLAUNCHER_COMPANY=$(call quote,$(COMPANY)) \
	-DLAUNCHER_COPYRIGHT=$(call quote,$(COPYRIGHT)) -DLAUNCHER_VERSION=$(call quote,$(VERSION))

.PHONY: all deps x64 x86 native sanitize fuzz build test demo dist bench clean checker check preview iso

all: build

deps:
	@sh scripts/install-deps.sh

x64: deps
	@cmake -S . -B $(BUILD)/x64 $(call toolchain,x64,mingw-x86_64) \
		-DCMAKE_BUILD_TYPE=Release $(PRODUCT_FLAGS) >/dev/null
	@cmake --build $(BUILD)/x64 -j $(JOBS)

x86: deps
	@cmake -S . -B $(BUILD)/x86 $(call toolchain,x86,mingw-i686) \
		-DCMAKE_BUILD_TYPE=Release $(PRODUCT_FLAGS) >/dev/null
	@cmake --build $(BUILD)/x86 -j $(JOBS)

# The unit tests and the fuzz targets under the sanitizers, built with clang.
sanitize: deps
	@cmake -S . -B $(BUILD)/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAUNCHER_FUZZ=ON $(PRODUCT_FLAGS) >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)

native: deps x64 x86 sanitize
	@cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug $(PRODUCT_FLAGS) \
		-DLAUNCHER_X64_DIR="$(abspath $(BUILD)/x64)" -DLAUNCHER_X86_DIR="$(abspath $(BUILD)/x86)" \
		-DLAUNCHER_FUZZ_DIR="$(abspath $(BUILD)/fuzz)" >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

build: native

# The disc checker alone, natively: $(BUILD)/native/launcher-check. An
# existing native build keeps its settings.
CHECKER = $(BUILD)/native/launcher-check
checker: deps
	@cmake -S . -B $(BUILD)/native >/dev/null
	@cmake --build $(BUILD)/native --target launcher-check -j $(JOBS) >$(BUILD)/checker-build.log 2>&1 \
		|| { cat $(BUILD)/checker-build.log; exit 1; }

# The authoring targets work on an author's disc folder. NAME is passed on
# only when given; otherwise the checker and the preview find the exe there.
DISC ?=
DISC_NAME = $(if $(filter command line environment override,$(origin NAME)),--name $(call quote,$(NAME)))
ifneq ($(filter preview iso,$(MAKECMDGOALS)),)
ifeq ($(DISC),)
$(error make $(filter preview iso,$(MAKECMDGOALS)) needs DISC=FOLDER, the disc's root folder)
endif
endif
ifneq ($(filter iso,$(MAKECMDGOALS)),)
ifeq ($(LABEL),)
$(error make iso needs LABEL=LABEL, the volume label: up to 32 of A-Z, 0-9 and _)
endif
endif

check: checker
	@test -n "$(DISC)" || { echo "usage: make check DISC=FOLDER [NAME=...]" >&2; exit 2; }
	@$(CHECKER) $(DISC_NAME) $(call quote,$(DISC))

preview: x64
	@python3 scripts/preview.py --x64 $(call quote,$(BUILD)/x64) --exe-name $(call quote,$(NAME)) \
		--disc $(call quote,$(DISC)) $(DISC_NAME) --out $(call quote,$(BUILD)/preview) \
		--work $(call quote,$(BUILD)/preview-work)

iso: checker
	@python3 scripts/make_iso.py --checker $(call quote,$(CHECKER)) --disc $(call quote,$(DISC)) \
		--label $(call quote,$(LABEL)) --out dist $(DISC_NAME)

test: build
	@ctest --test-dir $(BUILD)/native --output-on-failure -j $(JOBS)

FUZZ_SECONDS ?= 60
fuzz: sanitize
	@for target in $(BUILD)/fuzz/tests/fuzz/*_fuzz; do \
		KEEP_CORPUS=1 sh tests/fuzz/run-fuzzer.sh "$$target" tests/fuzz $(FUZZ_SECONDS) \
			"$(abspath $(BUILD))/fuzz-runs/$$(basename $$target _fuzz)" || exit 1; \
	done

demo: x64
	@sh scripts/demo.sh "$(abspath $(BUILD)/x64)/$(NAME).exe" "$(abspath $(BUILD))"

# SIGN_CERT: a PEM certificate with SIGN_KEY its key, or a .pfx/.p12 file;
# SIGN_PASSWORD_FILE and SIGN_TIMESTAMP are read by scripts/sign.sh.
SIGN_CERT ?=
SIGN_KEY ?= -
# A product's own title and icon replace the example disc's texts and icon;
# without them (the default title) the example stays as it is.
DIST_BRANDING = $(if $(filter-out file,$(origin TITLE)),--title $(call quote,$(TITLE))) \
	$(if $(ICON),--icon $(call quote,$(abspath $(ICON))))
dist: x64 x86 checker
	@python3 scripts/dist.py --out dist --name $(call quote,$(NAME)) --version $(call quote,$(VERSION)) \
		--x64 $(call quote,$(BUILD)/x64/$(NAME).exe) --x86 $(call quote,$(BUILD)/x86/$(NAME).exe) \
		--example example --sign-cert $(call quote,$(SIGN_CERT)) --sign-key $(call quote,$(SIGN_KEY)) \
		--checker $(CHECKER) --checker-exe $(BUILD)/x64/launcher-check.exe \
		$(DIST_BRANDING)

BENCH_RUNS ?= 21
bench: x64 x86
	@cmake -S . -B $(BUILD)/bench-x64 $(call toolchain,bench-x64,mingw-x86_64) \
		-DCMAKE_BUILD_TYPE=Release -DLAUNCHER_BENCH=ON $(PRODUCT_FLAGS) >/dev/null
	@cmake --build $(BUILD)/bench-x64 -j $(JOBS) >/dev/null
	@python3 bench/bench.py --build $(abspath $(BUILD)) --name $(call quote,$(NAME)) --title $(call quote,$(TITLE)) \
		--runs $(BENCH_RUNS)

clean:
	rm -rf $(BUILD) dist
