# The two commands of the contract: `make run` and `make test`. Everything else serves them.
SHELL := /bin/bash
JOBS ?= 2

FUZZ_SECONDS ?= 600

.PHONY: run test dist bootstrap native win64 sanitize unit wintest e2e fuzz mutate bench format clean

run: bootstrap native win64
	@scripts/run.sh

test: bootstrap native win64 sanitize
	@scripts/test.sh

bootstrap:
	@scripts/bootstrap.sh

# The release zip: dist/Zelkora-<version>.zip.
dist: bootstrap win64 native
	@scripts/dist.sh

native:
	@cmake --preset native >/dev/null
	@cmake --build build/native -j$(JOBS)

win64:
	@cmake --preset win64 -DZK_DEPS=$(CURDIR)/build/deps >/dev/null
	@cmake --build build/win64 -j$(JOBS) --target Zelkora zk_win_tests zk_driver zk_recorder

unit: native
	@ctest --test-dir build/native --output-on-failure

# clang with ASan + UBSan: the unit tests once more, and the fuzz targets.
sanitize:
	@cmake --preset sanitize >/dev/null
	@cmake --build build/sanitize -j$(JOBS) --target zk_unit_tests $(notdir $(basename $(wildcard fuzz/*_fuzz.cpp)))

wintest: win64
	@ctest --test-dir build/win64 --output-on-failure

e2e: native win64
	@tests/e2e/run.sh

# Every fuzz target for FUZZ_SECONDS (default 600) each.
fuzz: bootstrap sanitize
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# One-line changes to the program that the unit tests must catch; prints the survivors.
mutate: bootstrap native
	@scripts/mutate.sh

bench: bootstrap native win64
	@bench/hosts.sh
	@bench/replace.sh
	@bench/startup.sh
	@build/native/zk_pack_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf dist build/win64-again build/dist-stage build/native build/win64 build/sanitize build/fuzz build/e2e-shots build/e2e-work
