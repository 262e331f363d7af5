// Why a piece of work broke off, in the words the user reads in the message of a failed
// file.
#pragma once

#include <exception>
#include <string>

namespace m5::import {

// "недостаточно памяти" for exhausted memory, "системная ошибка 0x80070459" for a system
// call that failed, "неизвестная ошибка" for anything else (a null failure included).
// Allocates, so it may throw std::bad_alloc itself; call it where that is caught.
std::wstring FailureReason(const std::exception_ptr& failure);

}  // namespace m5::import
