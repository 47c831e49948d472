#pragma once

#include <QString>

namespace testsupport {

/**
 * The folder holding tpf0check and tpf0dump, the independent reader of the object stream, built once per test
 * run from the shared tools with fpc; empty when fpc or the tools are not there (the caller skips).
 */
QString Tpf0Tools();

} // namespace testsupport
