#pragma once
// Fuzzing entry point: runs arbitrary bytes as a model file through lexer, parser, checker and
// execution (solves included) without touching the disk. Never throws; returns the exit code.
#include <cstddef>
#include <cstdint>

namespace tarvelin::engine {

int fuzzModelInput(const std::uint8_t* data, std::size_t size);

}  // namespace tarvelin::engine
