#pragma once
// Raises a flag for as long as it lives and puts back what it was on every
// way out, so that scopes may nest.

class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = before_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool before_;
};
