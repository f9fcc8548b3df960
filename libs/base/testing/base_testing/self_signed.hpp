#pragma once
// A self-signed certificate for 127.0.0.1, for the TLS servers tests and benchmarks run of their
// own, and the two ways a client can be told to trust it: a PEM file, and a directory where it
// is named by its subject hash. Whoever includes this links OpenSSL's libcrypto.

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

namespace base_testing {

struct PkeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct X509Free {
  void operator()(X509* x) const { X509_free(x); }
};
using Key = std::unique_ptr<EVP_PKEY, PkeyFree>;
using Certificate = std::unique_ptr<X509, X509Free>;

// Valid for an hour in every way, except that no one trusts it. Null members if OpenSSL failed.
inline std::pair<Certificate, Key> self_signed_for_localhost() {
  Key key(EVP_EC_gen("P-256"));
  Certificate cert(X509_new());
  if (!key || !cert) return {};
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
  X509_set_pubkey(cert.get(), key.get());
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert.get(), cert.get(), nullptr, nullptr, 0);
  if (X509_EXTENSION* san = X509V3_EXT_conf_nid(nullptr, &ctx, NID_subject_alt_name, "IP:127.0.0.1")) {
    X509_add_ext(cert.get(), san, -1);
    X509_EXTENSION_free(san);
  }
  X509_sign(cert.get(), key.get(), EVP_sha256());
  return {std::move(cert), std::move(key)};
}

// Appends the certificate to `path` as PEM; false if it could not be written.
inline bool append_pem(const std::filesystem::path& path, X509* cert) {
  FILE* f = std::fopen(path.c_str(), "a");
  if (f == nullptr) return false;
  const bool ok = PEM_write_X509(f, cert) == 1;
  return std::fclose(f) == 0 && ok;
}

// The name a certificate directory gives it: its subject hash and ".0".
inline std::string subject_hash_name(X509* cert) {
  char name[16];
  std::snprintf(name, sizeof name, "%08lx.0",
                X509_NAME_hash_ex(X509_get_subject_name(cert), nullptr, nullptr, nullptr));
  return name;
}

}  // namespace base_testing
