#pragma once
// Batching of changes for the classes with BeginUpdate/EndUpdate (string lists, collections).

namespace plat {

// Runs work between target.BeginUpdate() and target.EndUpdate(); the update is closed also when work throws,
// and the exception goes on.
template <class Target, class Work>
void WithinUpdate(Target& target, Work&& work) {
  target.BeginUpdate();
  try {
    work();
  } catch (...) {
    target.EndUpdate();
    throw;
  }
  target.EndUpdate();
}

}  // namespace plat
