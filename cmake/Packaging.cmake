# CPack configuration
